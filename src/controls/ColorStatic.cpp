#include "controls/ColorStatic.h"

namespace controls {

CColorStatic::CColorStatic(win::WindowHost& host)
    : backBrush{host.GetSysColor(win::COLOR_BTNFACE), false}, backColor(backBrush.color) {}

void CColorStatic::SetBackColor(win::COLORREF color) {
    backColor = color;
    backBrush = win::Brush{color, false};
    Repaint();
}

void CColorStatic::SetTextColor(win::COLORREF color) {
    textColor = color;
    Repaint();
}

void CColorStatic::Repaint() {
    // Erased and painted before the setter returns.
    if (win::HWND window = GetSafeHwnd())
        window->RedrawWindow(win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_UPDATENOW);
}

win::HBRUSH CColorStatic::CtlColor(win::DeviceContext& dc, win::UINT) {
    dc.SetBkColor(backColor);
    dc.SetTextColor(textColor);
    return &backBrush;
}

}  // namespace controls
