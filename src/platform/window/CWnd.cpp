#include "platform/window/CWnd.h"

namespace win {

CWnd::~CWnd() {
    if (hwnd_ != nullptr && hwnd_->GetHandlerObject() == this)
        hwnd_->SetHandlerObject(nullptr);
}

void CWnd::SetWindow(HWND window, WindowHost& host) {
    hwnd_ = window;
    host_ = &host;
    hwnd_->SetHandlerObject(this);
}

void CWnd::SubclassWindow(HWND window, WindowHost& host) {
    SetWindow(window, host);
    PreSubclassWindow();
}

void CWnd::DetachWindow() {
    hwnd_ = nullptr;
}

void CWnd::Default() {
    if (hwnd_ != nullptr)
        hwnd_->DefWindowProc();
}

void CWnd::OnMouseMove(UINT, Point) {
    Default();
}
void CWnd::OnLButtonDown(UINT, Point) {
    Default();
}
void CWnd::OnLButtonUp(UINT, Point) {
    Default();
}

bool CWnd::OnSetCursor(UINT, UINT) {
    Default();
    return false;
}

HBRUSH CWnd::CtlColor(DeviceContext&, UINT) {
    return nullptr;
}
void CWnd::DrawItem(DrawItemStruct&) {}
void CWnd::MeasureItem(MeasureItemStruct&) {}
void CWnd::DeleteItem(DeleteItemStruct&) {
    Default();
}
int CWnd::VKeyToItem(UINT, UINT) {
    return -1;
}

}  // namespace win
