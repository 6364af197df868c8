#pragma once
// The IPv4 address control (window class "SysIPAddress32"): its text is the dotted address the four
// fields hold, empty while every field is blank.

#include <QPointer>

#include "QtControlWindow.h"

namespace qtwin {

class QtIpAddressEdit;

class QtIpAddressWindow final : public QtControlWindow {
  public:
    QtIpAddressWindow(QtDialogWindow& dialog, const win::ControlTemplate& control, QWidget* parent);

    std::string GetWindowText() const override;
    void SetWindowText(std::string_view gbkText) override;
    void SetAddress(win::DWORD address) override;
    void ClearAddress() override;

  private:
    QPointer<QtIpAddressEdit> edit_;
};

}  // namespace qtwin
