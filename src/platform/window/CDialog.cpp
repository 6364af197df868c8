#include "platform/window/CDialog.h"

namespace win {

CDialog::CDialog(WindowHost& host, const DialogTemplate& dialogTemplate)
    : host_(host), template_(dialogTemplate) {}

int CDialog::DoModal(HWND owner) {
    return host_.RunModal(*this, template_, owner);
}

void CDialog::EndDialog(int result) {
    if (GetSafeHwnd() != nullptr)
        GetSafeHwnd()->EndDialog(result);
}

HWND CDialog::GetDlgItem(int controlId) const {
    return GetSafeHwnd() == nullptr ? nullptr : GetSafeHwnd()->GetDlgItem(controlId);
}

std::string CDialog::GetDlgItemText(int controlId) const {
    HWND item = GetDlgItem(controlId);
    return item == nullptr ? std::string() : item->GetWindowText();
}

void CDialog::SetDlgItemText(int controlId, std::string_view gbkText) {
    if (HWND item = GetDlgItem(controlId))
        item->SetWindowText(gbkText);
}

bool CDialog::IsDlgButtonChecked(int controlId) const {
    HWND item = GetDlgItem(controlId);
    return item != nullptr && item->GetCheck() == BST_CHECKED;
}

void CDialog::CheckDlgButton(int controlId, int state) {
    if (HWND item = GetDlgItem(controlId))
        item->SetCheck(state);
}

int CDialog::MessageBox(std::string_view gbkText, std::string_view gbkCaption, UINT type) {
    return host_.MessageBox(GetSafeHwnd(), gbkText, gbkCaption, type);
}

void CDialog::SubclassDlgItem(CWnd& control, int controlId) {
    if (HWND item = GetDlgItem(controlId))
        control.SubclassWindow(item, host_);
}

void CDialog::AttachDialogWindow(HWND window) {
    SetWindow(window, host_);
}

bool CDialog::OnInitDialog() {
    return true;
}

void CDialog::OnCommand(int controlId, UINT notifyCode) {
    if (OnCmdMsg(controlId, notifyCode))
        return;
    if (notifyCode != BN_CLICKED)
        return;
    if (controlId == IDOK)
        OnOK();
    if (controlId == IDCANCEL)
        OnCancel();
}

bool CDialog::OnCmdMsg(int, UINT) {
    return false;
}

void CDialog::OnSysCommand(UINT) {
    Default();
}
void CDialog::OnPaint(DeviceContext&) {}
HICON CDialog::OnQueryDragIcon() {
    return nullptr;
}
void CDialog::OnClose() {
    EndDialog(IDCANCEL);
}
void CDialog::OnOK() {
    EndDialog(IDOK);
}
void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}
void CDialog::OnDestroy() {}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_CLOSE)
        OnClose();
    if (message == WM_COMMAND) {
        OnCommand(static_cast<int>(wParam & 0xFFFF), static_cast<UINT>((wParam >> 16) & 0xFFFF));
    }
    return 0;
}

}  // namespace win
