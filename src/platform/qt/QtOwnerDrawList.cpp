#include "QtOwnerDrawList.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "QtControlWindow.h"
#include "QtDeviceContext.h"
#include "QtKeys.h"
#include "platform/window/CWnd.h"
#include "platform/window/Styles.h"

namespace qtwin {

QtOwnerDrawList::QtOwnerDrawList(QtControlWindow& window, QWidget* parent)
    : QAbstractScrollArea(parent), QtItemStore(window, win::ODT_LISTBOX, true, false) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
}

int QtOwnerDrawList::DefaultItemHeight() const {
    return fontMetrics().height();
}

int QtOwnerDrawList::TopIndex() const {
    return ScrollBar()->value();
}

// Each change of range makes the scroll area queue a relayout of its own; filling the list with a long
// profile file changed it once per entry. The range now follows the entries when it is next read.
QScrollBar* QtOwnerDrawList::ScrollBar() const {
    if (scrollRangeStale_) {
        scrollRangeStale_ = false;
        ApplyScrollRange();
    }
    return verticalScrollBar();
}

int QtOwnerDrawList::PageSize() const {
    int shown = 0;
    int height = 0;
    for (int i = TopIndex(); i < GetCount(); ++i, ++shown) {
        height += ItemHeight(i);
        if (height > viewport()->height())
            break;
    }
    return std::max(1, shown);
}

QRect QtOwnerDrawList::ItemRect(int index) const {
    if (!IsValid(index) || index < TopIndex())
        return {};
    int top = 0;
    for (int i = TopIndex(); i < index; ++i)
        top += ItemHeight(i);
    return QRect(0, top, viewport()->width(), ItemHeight(index));
}

win::DWORD QtOwnerDrawList::ItemFromPoint(win::Point point) const {
    if (GetCount() == 0)
        return 0x10000;
    const bool outsideX = point.x < 0 || point.x >= viewport()->width();
    if (point.y < 0)
        return static_cast<win::DWORD>(TopIndex()) | 0x10000;
    int top = 0;
    for (int i = TopIndex(); i < GetCount(); ++i) {
        top += ItemHeight(i);
        if (point.y < top)
            return static_cast<win::DWORD>(i) | (outsideX ? 0x10000 : 0);
    }
    return static_cast<win::DWORD>(GetCount() - 1) | 0x10000;
}

void QtOwnerDrawList::UpdateScrollBar() {
    scrollRangeStale_ = true;
    // A list that is shown reads its range when it paints the change; one changed while hidden gets
    // it from the event loop all the same.
    if (!rangeSyncQueued_) {
        rangeSyncQueued_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                rangeSyncQueued_ = false;
                ScrollBar();
            },
            Qt::QueuedConnection);
    }
}

void QtOwnerDrawList::ApplyScrollRange() const {
    // The list scrolls by entries: the last top index is the one that still fills the view.
    int last = GetCount();
    int filled = 0;
    while (last > 0 && filled + ItemHeight(last - 1) <= viewport()->height())
        filled += ItemHeight(--last);
    verticalScrollBar()->setRange(0, std::max(0, last));
    verticalScrollBar()->setPageStep(PageSize());
}

void QtOwnerDrawList::EnsureVisible(int index) {
    if (!IsValid(index))
        return;
    if (index < TopIndex()) {
        ScrollBar()->setValue(index);
        return;
    }
    // The new top is the first entry from which the rows down to this one fit the view, found walking
    // back from it: scrolling one entry at a time made End in a long list take most of a second.
    int top = index;
    int height = ItemHeight(index);
    while (top > TopIndex() && height + ItemHeight(top - 1) <= viewport()->height())
        height += ItemHeight(--top);
    if (top > TopIndex())
        ScrollBar()->setValue(top);
}

void QtOwnerDrawList::InvalidateAll() {
    fullRepaint_ = true;
    viewport()->update();
}

void QtOwnerDrawList::ItemInserted(int index) {
    if (curSel_ >= index)
        ++curSel_;
    UpdateScrollBar();
    InvalidateAll();
}

void QtOwnerDrawList::ItemRemoved(int index) {
    // The selection goes with its entry; later entries move up.
    if (curSel_ == index)
        curSel_ = -1;
    if (curSel_ > index)
        --curSel_;
    if (caret_ > index)
        --caret_;
    caret_ = std::clamp(caret_, 0, std::max(0, GetCount() - 1));
    UpdateScrollBar();
    InvalidateAll();
}

void QtOwnerDrawList::ItemsReset() {
    curSel_ = -1;
    caret_ = 0;
    UpdateScrollBar();
    InvalidateAll();
}

void QtOwnerDrawList::ItemHeightChanged(int) {
    UpdateScrollBar();
    InvalidateAll();
}

void QtOwnerDrawList::Select(int index) {
    if (index == curSel_)
        return;
    for (int changed : {curSel_, index}) {
        if (!IsValid(changed))
            continue;
        selectionChanged_.insert(changed);
        viewport()->update(ItemRect(changed));
    }
    curSel_ = index;
    if (IsValid(index))
        caret_ = index;
}

int QtOwnerDrawList::SetCurSel(int index) {
    if (!IsValid(index)) {
        Select(-1);
        return -1;
    }
    Select(index);
    EnsureVisible(index);
    return index;
}

void QtOwnerDrawList::paintEvent(QPaintEvent* event) {
    ScrollBar();  // bringing the range up to date may scroll, which must happen before drawing
    QPainter painter(viewport());
    QtDeviceContext dc(painter, font());
    const QRegion& dirty = event->region();
    win::CWnd* handler = Window().GetHandlerObject();
    int top = 0;
    for (int i = TopIndex(); i < GetCount() && top < viewport()->height(); ++i) {
        const QRect rect(0, top, viewport()->width(), ItemHeight(i));
        top += rect.height();
        if (!dirty.intersects(rect))
            continue;
        const bool selectOnly = !fullRepaint_ && selectionChanged_.contains(i);
        win::DrawItemStruct draw{win::ODT_LISTBOX,
                                 Window().GetDlgCtrlID(),
                                 i,
                                 selectOnly ? win::ODA_SELECT : win::ODA_DRAWENTIRE,
                                 0,
                                 &dc,
                                 {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1},
                                 GetItemData(i)};
        if (i == curSel_)
            draw.itemState |= win::ODS_SELECTED;
        if (i == caret_ && hasFocus())
            draw.itemState |= win::ODS_FOCUS;
        painter.save();
        painter.setClipRect(rect);
        if (handler == nullptr) {
            painter.fillRect(rect, Qt::white);
        } else {
            Window().Dispatch([&] { handler->DrawItem(draw); }, [] {});
        }
        painter.restore();
    }
    // Below the last entry the list box shows its window colour.
    if (top < viewport()->height())
        painter.fillRect(QRect(0, top, viewport()->width(), viewport()->height() - top), Qt::white);
    fullRepaint_ = false;
    selectionChanged_.clear();
}

void QtOwnerDrawList::SelectNearest(QPoint point) {
    if (GetCount() == 0)
        return;
    const win::DWORD hit = ItemFromPoint({point.x(), point.y()});
    Select(static_cast<int>(hit & 0xFFFF));
}

void QtOwnerDrawList::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    win::CWnd* handler = Window().GetHandlerObject();
    Window().Dispatch(
        [&] {
            handler->OnLButtonDown(MouseKeyFlags(event), {point.x(), point.y()});
        },
        [this, point] {
            tracking_ = true;
            SelectNearest(point);
        });
}

void QtOwnerDrawList::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    win::CWnd* handler = Window().GetHandlerObject();
    Window().Dispatch(
        [&] {
            handler->OnMouseMove(MouseKeyFlags(event), {point.x(), point.y()});
        },
        [this, point] {
            if (tracking_)
                SelectNearest(point);
        });
}

void QtOwnerDrawList::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    win::CWnd* handler = Window().GetHandlerObject();
    // The list box selects the entry under the release point and then tells the dialog.
    Window().Dispatch(
        [&] {
            handler->OnLButtonUp(MouseKeyFlags(event), {point.x(), point.y()});
        },
        [this, point] {
            if (!tracking_)
                return;
            tracking_ = false;
            SelectNearest(point);
            if (GetCount() > 0 && (Window().GetStyle() & win::LBS_NOTIFY)) {
                Window().Notify(win::LBN_SELCHANGE);
            }
        });
}

void QtOwnerDrawList::keyPressEvent(QKeyEvent* event) {
    const win::UINT key = VirtualKeyOf(event);
    // Enter, Esc and Tab belong to the dialog.
    if (key == 0 || key == win::VK_RETURN || key == win::VK_ESCAPE || key == kVkTab) {
        event->ignore();
        return;
    }
    win::CWnd* handler = Window().GetHandlerObject();
    if (handler != nullptr && (Window().GetStyle() & win::LBS_WANTKEYBOARDINPUT)) {
        const int answer = handler->VKeyToItem(key, static_cast<win::UINT>(caret_));
        if (answer == -2)
            return;  // the owner did everything
        if (answer >= 0 && IsValid(answer))
            caret_ = answer;
    }
    MoveByKey(event->key());
}

void QtOwnerDrawList::MoveByKey(int key) {
    if (GetCount() == 0)
        return;
    int next = curSel_ < 0 ? caret_ : curSel_;
    // A page key moves the highlight to the far end of the page it starts on.
    const int pageMove = PageSize() - 1;
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            next = curSel_ < 0 ? caret_ : next - 1;
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            next = curSel_ < 0 ? caret_ : next + 1;
            break;
        case Qt::Key_PageUp:
            next -= pageMove;
            break;
        case Qt::Key_PageDown:
            next += pageMove;
            break;
        case Qt::Key_Home:
            next = 0;
            break;
        case Qt::Key_End:
            next = GetCount() - 1;
            break;
        default:
            return;
    }
    next = std::clamp(next, 0, GetCount() - 1);
    if (next == curSel_)
        return;
    Select(next);
    EnsureVisible(next);
    if (Window().GetStyle() & win::LBS_NOTIFY)
        Window().Notify(win::LBN_SELCHANGE);
}

void QtOwnerDrawList::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    InvalidateAll();
}

void QtOwnerDrawList::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    InvalidateAll();
}

void QtOwnerDrawList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBar();
    fullRepaint_ = true;
}

void QtOwnerDrawList::scrollContentsBy(int, int) {
    // With entries of different heights the page depends on the top entry.
    ScrollBar()->setPageStep(PageSize());
    InvalidateAll();
}

}  // namespace qtwin
