#include "QtStatic.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "QtControlWindow.h"
#include "QtDeviceContext.h"
#include "QtIcons.h"
#include "QtKeys.h"
#include "QtText.h"
#include "QtWindowHost.h"
#include "platform/window/CWnd.h"
#include "platform/window/Styles.h"

namespace qtwin {

QtStatic::QtStatic(QtControlWindow& window, win::ControlKind kind, QWidget* parent)
    : QWidget(parent), window_(window), kind_(kind) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    UpdatePointerTransparency();
}

void QtStatic::UpdatePointerTransparency() {
    const bool notify = (window_.GetStyle() & win::SS_NOTIFY) != 0;
    const bool transparent = kind_ == win::ControlKind::GroupBox || !notify;
    setAttribute(Qt::WA_TransparentForMouseEvents, transparent);
}

void QtStatic::paintEvent(QPaintEvent*) {
    ++paintCount_;
    QPainter painter(this);
    QtDeviceContext dc(painter, font());
    // What DefWindowProc answers to the colour request: black text on the face colour, opaque.
    const win::COLORREF face = window_.Host().GetSysColor(win::COLOR_BTNFACE);
    dc.SetTextColor(0);
    dc.SetBkColor(face);
    win::HBRUSH brush = window_.CtlColor(dc, win::CTLCOLOR_STATIC);
    const bool groupBox = kind_ == win::ControlKind::GroupBox;
    // A group box leaves its inside to the dialog, whatever the brush; a static is one block of colour.
    if (!groupBox) {
        if (brush == nullptr) {
            painter.fillRect(rect(), ToQColor(face));
        } else if (!brush->hollow) {
            painter.fillRect(rect(), ToQColor(brush->color));
        }
    }
    switch (kind_) {
        case win::ControlKind::GroupBox:
            PaintGroupBox(dc);
            break;
        case win::ControlKind::StaticIcon:
            PaintIcon(dc);
            break;
        default:
            PaintText(dc);
            break;
    }
}

void QtStatic::PaintText(QtDeviceContext& dc) {
    const win::DWORD style = window_.GetStyle();
    const win::DWORD type = style & win::SS_TYPEMASK;
    int flags = Qt::AlignTop | Qt::TextExpandTabs;
    if (type == win::SS_CENTER) {
        flags |= Qt::AlignHCenter | Qt::TextWordWrap;
    } else if (type == win::SS_RIGHT) {
        flags |= Qt::AlignRight | Qt::TextWordWrap;
    } else if (type == win::SS_SIMPLE || type == win::SS_LEFTNOWORDWRAP) {
        flags |= Qt::AlignLeft | Qt::TextSingleLine;
    } else {
        flags |= Qt::AlignLeft | Qt::TextWordWrap;
    }
    if (!(style & win::SS_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    dc.DrawTextFlags(ToQString(window_.GetWindowText()), rect(), flags);
}

void QtStatic::PaintGroupBox(QtDeviceContext& dc) {
    // An etched frame from half the text height down, the caption over it eight pixels from the left;
    // the frame stops at the caption's cells.
    const QFontMetrics metrics(dc.Font());
    const int frameTop = metrics.height() / 2 - 1;
    QPainter& painter = dc.Painter();
    const QString caption = ToQString(window_.GetWindowText());
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic;
    const QRect textRect(8, 0, std::max(0, width() - 10), metrics.height());
    const QRect cells = caption.isEmpty() ? QRect() : painter.boundingRect(textRect, flags, caption);
    const QRect frame(0, frameTop, width(), height() - frameTop);
    painter.save();
    painter.setClipRegion(QRegion(rect()).subtracted(QRegion(cells)));
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(frame.adjusted(0, 0, -2, -2));
    painter.setPen(QColor(255, 255, 255));
    painter.drawRect(frame.adjusted(1, 1, -1, -1));
    painter.restore();
    dc.DrawTextFlags(caption, textRect, flags);
}

void QtStatic::PaintIcon(QtDeviceContext& dc) {
    if (!icon_.isNull())
        dc.Painter().drawPixmap(0, 0, icon_);
}

void QtStatic::SetCursorRequest() {
    win::CWnd* handler = window_.GetHandlerObject();
    if (handler == nullptr) {
        unsetCursor();
        return;
    }
    window_.Host().BeginSetCursor(this);
    window_.Dispatch([&] { handler->OnSetCursor(HTCLIENT, WM_MOUSEMOVE); }, [this] { unsetCursor(); });
    window_.Host().EndSetCursor();
}

void QtStatic::mouseMoveEvent(QMouseEvent* event) {
    // As Windows: the set-cursor request comes first, unless a window holds the capture.
    if (!window_.HasCapture())
        SetCursorRequest();
    const QPoint point = event->position().toPoint();
    win::CWnd* handler = window_.GetHandlerObject();
    window_.Dispatch([&] { handler->OnMouseMove(MouseKeyFlags(event), {point.x(), point.y()}); }, [] {});
}

void QtStatic::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    win::CWnd* handler = window_.GetHandlerObject();
    window_.Dispatch([&] { handler->OnLButtonDown(MouseKeyFlags(event), {point.x(), point.y()}); }, [] {});
}

void QtStatic::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    win::CWnd* handler = window_.GetHandlerObject();
    window_.Dispatch([&] { handler->OnLButtonUp(MouseKeyFlags(event), {point.x(), point.y()}); }, [] {});
}

}  // namespace qtwin
