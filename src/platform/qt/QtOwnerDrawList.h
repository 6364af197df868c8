#pragma once
// The owner-drawn list box (LBS_OWNERDRAWVARIABLE without stored strings): every entry is measured and
// drawn by the handler object attached to the control, through a drawing surface over QPainter. Mouse
// and key messages reach the handler first and the list box's own handling runs in Default(), so the
// handler sees a click before the selection changes and the dialog hears LBN_SELCHANGE after it.

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <set>

#include "QtItemStore.h"

namespace qtwin {

class QtOwnerDrawList : public QAbstractScrollArea, public QtItemStore {
  public:
    QtOwnerDrawList(QtControlWindow& window, QWidget* parent);

    int GetCurSel() const override { return curSel_; }
    int SetCurSel(int index) override;
    win::DWORD ItemFromPoint(win::Point clientPoint) const override;
    int GetTopIndex() const override { return TopIndex(); }

  protected:
    void ItemInserted(int index) override;
    void ItemRemoved(int index) override;
    void ItemsReset() override;
    void ItemHeightChanged(int index) override;
    int DefaultItemHeight() const override;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    int TopIndex() const;
    // The entries shown whole from the top entry on, at least one: the page of the scroll bar, and
    // one more than the page keys move.
    int PageSize() const;
    QRect ItemRect(int index) const;  // in viewport coordinates; empty when scrolled out
    // The scroll bar, its range first brought up to date with the entries.
    QScrollBar* ScrollBar() const;
    void UpdateScrollBar();  // marks the range stale
    void ApplyScrollRange() const;
    void EnsureVisible(int index);
    // The list box's own selection, drawn with ODA_SELECT for the entries whose state changed.
    void Select(int index);
    void SelectNearest(QPoint point);
    void MoveByKey(int key);
    void InvalidateAll();

    int curSel_ = -1;
    int caret_ = 0;
    bool tracking_ = false;
    bool fullRepaint_ = true;
    mutable bool scrollRangeStale_ = false;
    bool rangeSyncQueued_ = false;
    std::set<int> selectionChanged_;
};

}  // namespace qtwin
