#include "QtDeviceContext.h"

#include "QtIcons.h"
#include "QtText.h"

#include <cstdlib>
#include "DialogUnits.h"

namespace qtwin {

namespace {

constexpr win::UINT DT_RIGHT = 0x2;
constexpr win::UINT DT_BOTTOM = 0x8;
constexpr win::UINT DT_WORDBREAK = 0x10;
constexpr win::UINT DT_NOCLIP = 0x100;

constexpr win::UINT BF_LEFT = 0x1;
constexpr win::UINT BF_TOP = 0x2;
constexpr win::UINT BF_RIGHT = 0x4;
constexpr win::UINT BDR_RAISEDOUTER = 0x1;
constexpr win::UINT BDR_SUNKENOUTER = 0x2;
constexpr win::UINT BDR_RAISEDINNER = 0x4;
constexpr win::UINT BDR_SUNKENINNER = 0x8;

// The classic 3-D colours: highlight, light, shadow and dark shadow.
const QColor kHighlight(255, 255, 255);
const QColor kLight(227, 227, 227);
const QColor kShadow(160, 160, 160);
const QColor kDarkShadow(105, 105, 105);

}  // namespace

QtDeviceContext::QtDeviceContext(QPainter& painter, const QFont& font) : painter_(painter), font_(font) {
    painter_.setFont(font_);
}

void QtDeviceContext::FillSolidRect(const win::Rect& rect, win::COLORREF color) {
    painter_.fillRect(ToQRect(rect), ToQColor(color));
}

void QtDeviceContext::FrameRect(const win::Rect& rect, win::COLORREF penColor) {
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    // Rectangle with a one-pixel pen covers the pixels from left to right - 1 and top to bottom - 1.
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(QPen(ToQColor(penColor), 0));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
    painter_.restore();
}

void QtDeviceContext::DrawLine(win::Point from, win::Point to, win::COLORREF penColor) {
    if (from == to)
        return;
    // LineTo leaves out the end point: step back one pixel along the longer axis.
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    QPoint end(to.x, to.y);
    if (std::abs(dx) >= std::abs(dy)) {
        end.rx() -= dx > 0 ? 1 : -1;
    } else {
        end.ry() -= dy > 0 ? 1 : -1;
    }
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(QPen(ToQColor(penColor), 0));
    painter_.drawLine(QPoint(from.x, from.y), end);
    painter_.restore();
}

void QtDeviceContext::DrawEdge(const win::Rect& rect, win::UINT edge, win::UINT flags) {
    // Each border is two one-pixel lines: the outer one along the rectangle, the inner one inside it.
    const bool sunkenOuter = (edge & BDR_SUNKENOUTER) != 0;
    const bool sunkenInner = (edge & BDR_SUNKENINNER) != 0;
    struct Layer {
        bool present;
        QColor topLeft;
        QColor bottomRight;
    };
    const Layer layers[2] = {
        {(edge & (BDR_SUNKENOUTER | BDR_RAISEDOUTER)) != 0, sunkenOuter ? kShadow : kLight,
         sunkenOuter ? kHighlight : kDarkShadow},
        {(edge & (BDR_SUNKENINNER | BDR_RAISEDINNER)) != 0, sunkenInner ? kDarkShadow : kHighlight,
         sunkenInner ? kLight : kShadow},
    };
    QRect r = ToQRect(rect);
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    for (const Layer& layer : layers) {
        if (!layer.present || r.width() <= 0 || r.height() <= 0)
            continue;
        if (flags & BF_LEFT)
            painter_.fillRect(QRect(r.left(), r.top(), 1, r.height()), layer.topLeft);
        if (flags & BF_TOP)
            painter_.fillRect(QRect(r.left(), r.top(), r.width(), 1), layer.topLeft);
        if (flags & BF_RIGHT)
            painter_.fillRect(QRect(r.right(), r.top(), 1, r.height()), layer.bottomRight);
        if (flags & win::BF_BOTTOM)
            painter_.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), layer.bottomRight);
        r.adjust(flags & BF_LEFT ? 1 : 0, flags & BF_TOP ? 1 : 0, flags & BF_RIGHT ? -1 : 0,
                 flags & win::BF_BOTTOM ? -1 : 0);
    }
    painter_.restore();
}

void QtDeviceContext::DrawIcon(int x, int y, win::HICON icon) {
    if (const QPixmap* pixmap = PixmapOf(icon))
        painter_.drawPixmap(x, y, *pixmap);
}

void QtDeviceContext::DrawIconEx(int x, int y, win::HICON icon, int cx, int cy) {
    const QPixmap* pixmap = PixmapOf(icon);
    if (pixmap == nullptr)
        return;
    if (cx <= 0)
        cx = pixmap->width();
    if (cy <= 0)
        cy = pixmap->height();
    painter_.drawPixmap(QRect(x, y, cx, cy), *pixmap);
}

int QtTextFlags(win::UINT format) {
    int flags = 0;
    if (format & win::DT_CENTER) {
        flags |= Qt::AlignHCenter;
    } else if (format & DT_RIGHT) {
        flags |= Qt::AlignRight;
    } else {
        flags |= Qt::AlignLeft;
    }
    // Vertical placement applies to single lines only, as DrawText does.
    if ((format & win::DT_SINGLELINE) && (format & win::DT_VCENTER)) {
        flags |= Qt::AlignVCenter;
    } else if ((format & win::DT_SINGLELINE) && (format & DT_BOTTOM)) {
        flags |= Qt::AlignBottom;
    } else {
        flags |= Qt::AlignTop;
    }
    if (format & win::DT_SINGLELINE)
        flags |= Qt::TextSingleLine;
    if ((format & DT_WORDBREAK) && !(format & win::DT_SINGLELINE))
        flags |= Qt::TextWordWrap;
    if (!(format & win::DT_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    if (format & DT_NOCLIP)
        flags |= Qt::TextDontClip;
    return flags;
}

void QtDeviceContext::DrawText(std::string_view gbkText, const win::Rect& rect, win::UINT format) {
    DrawTextFlags(ToQString(gbkText), ToQRect(rect), QtTextFlags(format));
}

void QtDeviceContext::DrawTextFlags(const QString& text, const QRect& rect, int qtFlags) {
    if (text.isEmpty())
        return;
    painter_.save();
    painter_.setFont(font_);
    if (!(qtFlags & Qt::TextDontClip))
        painter_.setClipRect(rect, Qt::IntersectClip);
    // In opaque mode the cells behind the characters take the background colour.
    if (bkMode_ == win::OPAQUE) {
        const QRect cells = painter_.boundingRect(rect, qtFlags, text);
        painter_.fillRect(cells, ToQColor(bkColor_));
    }
    painter_.setPen(ToQColor(textColor_));
    painter_.drawText(rect, qtFlags, text);
    painter_.restore();
}

win::COLORREF QtDeviceContext::SetTextColor(win::COLORREF color) {
    const win::COLORREF previous = textColor_;
    textColor_ = color;
    return previous;
}

win::COLORREF QtDeviceContext::SetBkColor(win::COLORREF color) {
    const win::COLORREF previous = bkColor_;
    bkColor_ = color;
    return previous;
}

int QtDeviceContext::SetBkMode(int mode) {
    const int previous = bkMode_;
    if (mode == win::TRANSPARENT || mode == win::OPAQUE)
        bkMode_ = mode;
    return previous;
}

void QtDeviceContext::SelectFont(const win::LogFont& font) {
    font_ = FontFor(font);
    painter_.setFont(font_);
}

}  // namespace qtwin
