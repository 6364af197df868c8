#pragma once
// The single-line edit: its text is what the user typed, and a limit set with LimitText (EM_LIMITTEXT)
// holds the typing back.

#include <QLineEdit>
#include <QPointer>

#include "QtControlWindow.h"

namespace qtwin {

class QtEditWindow final : public QtControlWindow {
  public:
    QtEditWindow(QtDialogWindow& dialog, const win::ControlTemplate& control, QWidget* parent);

    std::string GetWindowText() const override;
    void SetWindowText(std::string_view gbkText) override;
    // 0 takes the limit away.
    void LimitText(int maxChars) override;

  private:
    QPointer<QLineEdit> edit_;
};

}  // namespace qtwin
