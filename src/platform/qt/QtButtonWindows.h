#pragma once
// Push buttons and check boxes. Both show their text unless they are icon buttons (BS_ICON) and both
// tell the dialog of a click (BN_CLICKED); a push button can show an icon, a check box has a state.

#include <QAbstractButton>
#include <QPointer>

#include "QtControlWindow.h"

namespace qtwin {

class QtButtonWindow : public QtControlWindow {
  public:
    void SetWindowText(std::string_view gbkText) override;

  protected:
    QtButtonWindow(QtDialogWindow& dialog, const win::ControlTemplate& control);
    void SetButton(QAbstractButton* button);
    QAbstractButton* Button() const { return button_.data(); }
    // An icon button never shows its text, with or without its icon.
    void ShowText();

  private:
    QPointer<QAbstractButton> button_;
};

class QtPushButtonWindow final : public QtButtonWindow {
  public:
    QtPushButtonWindow(QtDialogWindow& dialog, const win::ControlTemplate& control, QWidget* parent);
    void SetButtonIcon(win::HICON icon) override;
};

class QtCheckBoxWindow final : public QtButtonWindow {
  public:
    QtCheckBoxWindow(QtDialogWindow& dialog, const win::ControlTemplate& control, QWidget* parent);
    int GetCheck() const override;
    void SetCheck(int state) override;
};

}  // namespace qtwin
