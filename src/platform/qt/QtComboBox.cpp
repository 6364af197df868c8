#include "QtComboBox.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

#include "QtControlWindow.h"
#include "QtDeviceContext.h"
#include "QtText.h"
#include "platform/window/CWnd.h"
#include "platform/window/Styles.h"

namespace qtwin {

namespace {
// The frame a combo box draws around its selection field, top and bottom together.
constexpr int kComboFrame = 6;
}  // namespace

QtComboBox::QtComboBox(QtControlWindow& window, QWidget* parent, int dropDownHeight)
    : QComboBox(parent),
      QtItemStore(
          window, win::ODT_COMBOBOX, (window.GetStyle() & win::CBS_OWNERDRAWVARIABLE) != 0,
          !(window.GetStyle() & win::CBS_OWNERDRAWVARIABLE) || (window.GetStyle() & win::CBS_HASSTRINGS)),
      dropDownHeight_(dropDownHeight) {
    selectionFieldHeight_ = DefaultItemHeight();
    FitHeight();
    if (IsOwnerDraw())
        setItemDelegate(new QtOwnerDrawDelegate(*this));
    // The user's choice is reported after the box has taken it, as CBN_SELCHANGE.
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        curSel_ = index;
        Window().Notify(win::CBN_SELCHANGE);
    });
}

int QtComboBox::DefaultItemHeight() const {
    return fontMetrics().height() + 2;
}

void QtComboBox::FitHeight() {
    // The window's height is its selection field's and the frame's; the template height is the list's.
    setFixedHeight(selectionFieldHeight_ + kComboFrame);
}

void QtComboBox::SyncCurrentIndex() {
    const QSignalBlocker blocker(this);
    setCurrentIndex(curSel_);
}

int QtComboBox::SetCurSel(int index) {
    curSel_ = IsValid(index) ? index : -1;
    SyncCurrentIndex();
    update();
    return curSel_;
}

int QtComboBox::SetItemHeight(int index, int height) {
    if (index != -1)
        return QtItemStore::SetItemHeight(index, height);
    if (height <= 0 || height > 255)
        return -1;
    selectionFieldHeight_ = height;
    FitHeight();
    update();
    return 0;
}

void QtComboBox::ItemInserted(int index) {
    {
        const QSignalBlocker blocker(this);
        insertItem(index, ToQString(GetItemText(index)));
    }
    if (curSel_ >= index)
        ++curSel_;
    SyncCurrentIndex();
}

void QtComboBox::ItemRemoved(int index) {
    {
        const QSignalBlocker blocker(this);
        removeItem(index);
    }
    if (curSel_ == index)
        curSel_ = -1;
    if (curSel_ > index)
        --curSel_;
    SyncCurrentIndex();
}

void QtComboBox::ItemsReset() {
    {
        const QSignalBlocker blocker(this);
        clear();
    }
    curSel_ = -1;
    update();
}

void QtComboBox::ItemHeightChanged(int) {
    if (view() != nullptr)
        view()->doItemsLayout();
}

void QtComboBox::DrawEntry(QPainter& painter, const QRect& rect, int index, win::UINT state) {
    win::CWnd* handler = Window().GetHandlerObject();
    if (handler == nullptr)
        return;
    QtDeviceContext dc(painter, font());
    win::DrawItemStruct draw{
        win::ODT_COMBOBOX, Window().GetDlgCtrlID(), index, win::ODA_DRAWENTIRE, state, &dc,
        ToRect(rect),      GetItemData(index)};
    painter.save();
    painter.setClipRect(rect);
    Window().Dispatch([&] { handler->DrawItem(draw); }, [] {});
    painter.restore();
}

void QtComboBox::paintEvent(QPaintEvent* event) {
    if (!IsOwnerDraw()) {
        QComboBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    field.setTop(std::max(0, (height() - selectionFieldHeight_) / 2));
    field.setHeight(selectionFieldHeight_);
    // The selection field of a focused box is drawn selected.
    const win::UINT state = hasFocus() ? win::ODS_SELECTED | win::ODS_FOCUS : 0;
    painter.fillRect(field, palette().color(QPalette::Base));
    DrawEntry(painter, field, curSel_, state);
}

void QtComboBox::showPopup() {
    // The template's height is the dropped list's: as many entries as fit below the selection field.
    int fit = 0;
    int used = 0;
    for (int i = 0; i < GetCount() && used + ItemHeight(i) <= dropDownHeight_ - height(); ++i, ++fit) {
        used += ItemHeight(i);
    }
    setMaxVisibleItems(std::max(1, fit));
    QComboBox::showPopup();
}

void QtOwnerDrawDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const win::UINT state = (option.state & QStyle::State_Selected) ? win::ODS_SELECTED : 0;
    combo_.DrawEntry(*painter, option.rect, index.row(), state);
}

QSize QtOwnerDrawDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return QSize(option.rect.width(), combo_.ItemHeight(index.row()));
}

}  // namespace qtwin
