#include "QtWindow.h"

#include "platform/window/Styles.h"

namespace qtwin {

QtWindow::QtWindow(QtWindowHost& host, int id, win::DWORD style, std::string_view gbkText)
    : host_(host), id_(id), style_(style), text_(gbkText) {}

QtWindow::~QtWindow() = default;

void QtWindow::SetWindowText(std::string_view gbkText) {
    KeepText(gbkText);
    if (widget_)
        widget_->update();
}

void QtWindow::ShowWindow(int showCommand) {
    style_ = showCommand != win::SW_HIDE ? (style_ | win::WS_VISIBLE) : (style_ & ~win::WS_VISIBLE);
}

void QtWindow::SetStyle(win::DWORD style) {
    style_ = style;
    if (widget_)
        widget_->update();
}

win::Rect QtWindow::GetClientRect() const {
    if (!widget_)
        return {};
    return {0, 0, widget_->width(), widget_->height()};
}

void QtWindow::Invalidate(bool) {
    if (widget_)
        widget_->update();
}

void QtWindow::RedrawWindow(win::UINT flags) {
    if (!widget_)
        return;
    // RDW_UPDATENOW paints before returning.
    if (flags & win::RDW_UPDATENOW) {
        widget_->repaint();
    } else if (flags & win::RDW_INVALIDATE) {
        widget_->update();
    }
}

void QtWindow::SetCapture() {
    if (widget_)
        widget_->grabMouse();
}

void QtWindow::ReleaseCapture() {
    if (widget_ && QWidget::mouseGrabber() == widget_.data())
        widget_->releaseMouse();
}

bool QtWindow::HasCapture() const {
    return widget_ && QWidget::mouseGrabber() == widget_.data();
}

win::LogFont QtWindow::GetFont() const {
    win::LogFont font;
    if (!widget_)
        return font;
    const QFont qfont = widget_->font();
    font.faceName = qfont.family().toStdString();
    font.pointSize = 9;
    if (qfont.pixelSize() > 0)
        font.pointSize = (qfont.pixelSize() * 72 + 48) / 96;
    font.weight = qfont.weight();
    font.italic = qfont.italic();
    font.underline = qfont.underline();
    return font;
}

void QtWindow::Dispatch(const std::function<void()>& handlerCall, std::function<void()> nativeHandling) {
    if (!HasHandler()) {
        if (nativeHandling)
            nativeHandling();
        return;
    }
    nativeHandling_.push_back(std::move(nativeHandling));
    handlerCall();
    nativeHandling_.pop_back();
}

void QtWindow::DefWindowProc() {
    if (nativeHandling_.empty() || !nativeHandling_.back())
        return;
    // The native handling runs once per message, however often the handler calls Default().
    auto native = std::move(nativeHandling_.back());
    nativeHandling_.back() = nullptr;
    native();
}

}  // namespace qtwin
