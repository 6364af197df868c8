#pragma once
// The IPv4 address control: four fields of 0 to 255 separated by dots. Its text is the dotted address,
// or empty while every field is blank; a blank field among filled ones reads as 0.

#include <QLineEdit>
#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "platform/window/WinTypes.h"

namespace qtwin {

class QtIpAddressEdit : public QWidget {
  public:
    explicit QtIpAddressEdit(QWidget* parent);

    std::string Text() const;
    void SetText(const std::string& dotted);
    void SetAddress(win::DWORD address);  // first field in the high byte
    void Clear();
    bool IsBlank() const;
    QLineEdit* Field(int index) const { return fields_[static_cast<std::size_t>(index)]; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void LayoutFields();
    void FieldEdited(int index);
    int FieldOf(QObject* object) const;

    std::array<QLineEdit*, 4> fields_{};
};

// Four numbers of 0 to 255 with dots between them; nullopt for anything else.
std::optional<std::array<int, 4>> ParseDottedAddress(const std::string& text);

}  // namespace qtwin
