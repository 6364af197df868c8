#include "controls/HyperLinker.h"

#include "platform/window/Styles.h"
#include "res/AppMessageBox.h"
#include "res/Resource.h"

namespace controls {

namespace {

// The stock hollow brush: no background is painted and the dialog's gradient shows through.
constexpr win::Brush kHollowBrush{0, true};

}  // namespace

void CHyperLinker::SetLink(std::string target, win::COLORREF normal, win::COLORREF hover) {
    url = std::move(target);
    normalColor = normal;
    hoverColor = hover;
}

// A label sends mouse messages only with SS_NOTIFY; without them there would be no hover and no click.
void CHyperLinker::AddNotifyStyle() {
    win::HWND label = GetSafeHwnd();
    if ((label->GetStyle() & win::SS_NOTIFY) == 0)
        label->SetStyle(label->GetStyle() | win::SS_NOTIFY);
}

void CHyperLinker::PreSubclassWindow() {
    AddNotifyStyle();
    CWnd::PreSubclassWindow();
}

bool CHyperLinker::OpenLink() {
    const std::intptr_t result = shell_.ShellExecute(owner_.GetSafeHwnd(), "open", url, "", "", win::SW_SHOW);
    if (result > 32)
        return true;
    res::AfxMessageBox(Host(), res::IDS_LINK_UNREACHABLE);
    return false;
}

bool CHyperLinker::OnSetCursor(win::UINT, win::UINT) {
    Host().SetCursor(Host().LoadCursor(res::IDC_HAND_CURSOR));
    return true;
}

void CHyperLinker::OnMouseMove(win::UINT, win::Point point) {
    win::HWND label = GetSafeHwnd();
    // The capture brings the movement that takes the pointer off the label back to the label, however
    // fast the pointer leaves, so the hover colour never stays behind.
    if (label->GetClientRect().Contains(point)) {
        hovering = 1;
        label->SetCapture();
    } else {
        hovering = 0;
        label->ReleaseCapture();
    }
    label->Invalidate(true);  // the repaint asks for colours again and picks up the new state
    Default();
}

void CHyperLinker::OnLButtonDown(win::UINT, win::Point) {
    if (url.empty())
        return;
    OpenLink();
    GetSafeHwnd()->Invalidate(true);
    Default();
}

win::HBRUSH CHyperLinker::CtlColor(win::DeviceContext& dc, win::UINT ctlType) {
    if (ctlType != win::CTLCOLOR_STATIC)
        Host().OutputDebugString("CHyperLinker: a colour request not for a static\n");
    AddNotifyStyle();
    // Only plain left, centred or right-aligned text labels are coloured; any other kind of static
    // (icons, SS_SIMPLE, a label with SS_NOPREFIX) keeps the owner's colours.
    const win::DWORD textStyle = GetSafeHwnd()->GetStyle() & 0xFF;
    if (textStyle > win::SS_RIGHT)
        return nullptr;
    if (!linkFont)
        linkFont = GetSafeHwnd()->GetFont();
    dc.SelectFont(*linkFont);
    dc.SetTextColor(hovering == 1 ? hoverColor : normalColor);
    dc.SetBkMode(win::TRANSPARENT);
    return &kHollowBrush;
}

}  // namespace controls
