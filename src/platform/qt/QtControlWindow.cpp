#include "QtControlWindow.h"

#include "QtDeviceContext.h"
#include "QtDialogWindow.h"
#include "platform/window/CWnd.h"
#include "platform/window/Styles.h"

namespace qtwin {

QtControlWindow::QtControlWindow(QtDialogWindow& dialog, const win::ControlTemplate& control)
    : QtWindow(dialog.Host(), control.id, control.style, control.text), dialog_(dialog) {}

void QtControlWindow::ShowWindow(int showCommand) {
    QtWindow::ShowWindow(showCommand);
    if (Widget() != nullptr)
        Widget()->setVisible(showCommand != win::SW_HIDE);
}

bool QtControlWindow::IsWindowVisible() const {
    return (GetStyle() & win::WS_VISIBLE) != 0 && !dialog_.Ended();
}

void QtControlWindow::Notify(win::UINT code) {
    if (dialog_.Ended())
        return;
    win::CDialog& dialog = dialog_.Dialog();
    const int id = GetDlgCtrlID();
    dialog_.Dispatch([&] { dialog.OnCommand(id, code); }, [] {});
}

win::HBRUSH QtControlWindow::CtlColor(QtDeviceContext& dc, win::UINT ctlType) {
    win::CWnd* handler = GetHandlerObject();
    if (handler == nullptr)
        return nullptr;
    win::HBRUSH brush = nullptr;
    Dispatch([&] { brush = handler->CtlColor(dc, ctlType); }, [] {});
    return brush;
}

void QtControlWindow::Destroy() {
    if (win::CWnd* object = GetHandlerObject())
        object->DetachWindow();
    SetHandlerObject(nullptr);
}

}  // namespace qtwin
