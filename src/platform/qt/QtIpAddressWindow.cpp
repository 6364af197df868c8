#include "QtIpAddressWindow.h"

#include "QtIpAddressEdit.h"

namespace qtwin {

QtIpAddressWindow::QtIpAddressWindow(QtDialogWindow& dialog, const win::ControlTemplate& control,
                                     QWidget* parent)
    : QtControlWindow(dialog, control), edit_(new QtIpAddressEdit(parent)) {
    SetWidget(edit_);
}

std::string QtIpAddressWindow::GetWindowText() const {
    return edit_ ? edit_->Text() : Text();
}

void QtIpAddressWindow::SetWindowText(std::string_view gbkText) {
    if (edit_) {
        edit_->SetText(std::string(gbkText));
    } else {
        KeepText(gbkText);
    }
}

void QtIpAddressWindow::SetAddress(win::DWORD address) {
    if (edit_)
        edit_->SetAddress(address);
}

void QtIpAddressWindow::ClearAddress() {
    if (edit_)
        edit_->Clear();
}

}  // namespace qtwin
