#pragma once
// The drop-down list combo box (CBS_DROPDOWNLIST), plain or owner-drawn (CBS_OWNERDRAWVARIABLE): an
// owner-drawn box asks its handler object to measure each new entry and to draw the entries of the
// drop-down list and the selection field; its selection field height is set with SetItemHeight(-1).

#include <QAbstractItemDelegate>
#include <QComboBox>

#include "QtItemStore.h"

namespace qtwin {

class QtComboBox : public QComboBox, public QtItemStore {
  public:
    QtComboBox(QtControlWindow& window, QWidget* parent, int dropDownHeight);

    int GetCurSel() const override { return curSel_; }
    int SetCurSel(int index) override;
    int SetItemHeight(int index, int height) override;
    int SelectionFieldHeight() const { return selectionFieldHeight_; }

    // Draws entry index (-1: none) through the handler object.
    void DrawEntry(QPainter& painter, const QRect& rect, int index, win::UINT state);

  protected:
    void ItemInserted(int index) override;
    void ItemRemoved(int index) override;
    void ItemsReset() override;
    void ItemHeightChanged(int index) override;
    int DefaultItemHeight() const override;

    void paintEvent(QPaintEvent* event) override;
    void showPopup() override;

  private:
    void SyncCurrentIndex();
    void FitHeight();

    int curSel_ = -1;
    int selectionFieldHeight_ = 0;
    int dropDownHeight_ = 0;
};

// Entries of the drop-down list of an owner-drawn combo box, drawn and sized by the box's owner.
class QtOwnerDrawDelegate : public QAbstractItemDelegate {
  public:
    explicit QtOwnerDrawDelegate(QtComboBox& combo) : QAbstractItemDelegate(&combo), combo_(combo) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  private:
    QtComboBox& combo_;
};

}  // namespace qtwin
