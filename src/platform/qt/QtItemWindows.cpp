#include "QtItemWindows.h"

#include "QtComboBox.h"
#include "QtOwnerDrawList.h"

namespace qtwin {

QtItemWindow::QtItemWindow(QtDialogWindow& dialog, const win::ControlTemplate& control)
    : QtControlWindow(dialog, control) {}

void QtItemWindow::SetItems(QWidget* widget, QtItemStore& items) {
    SetWidget(widget);
    items_ = &items;
}

int QtItemWindow::GetCount() const {
    return items_->GetCount();
}
int QtItemWindow::AddString(std::string_view gbkText) {
    return items_->AddString(gbkText);
}
int QtItemWindow::InsertString(int index, std::string_view gbkText) {
    return items_->InsertString(index, gbkText);
}
int QtItemWindow::DeleteString(int index) {
    return items_->DeleteString(index);
}
void QtItemWindow::ResetContent() {
    items_->ResetContent();
}
int QtItemWindow::InitStorage(int items, win::UINT) {
    return items_->InitStorage(items);
}
std::string QtItemWindow::GetItemText(int index) const {
    return items_->GetItemText(index);
}
std::uintptr_t QtItemWindow::GetItemData(int index) const {
    return items_->GetItemData(index);
}
int QtItemWindow::SetItemData(int index, std::uintptr_t data) {
    return items_->SetItemData(index, data);
}
int QtItemWindow::SetItemHeight(int index, int height) {
    return items_->SetItemHeight(index, height);
}

int QtItemWindow::GetCurSel() const {
    return items_->GetCurSel();
}
int QtItemWindow::SetCurSel(int index) {
    return items_->SetCurSel(index);
}
int QtItemWindow::GetTopIndex() const {
    return items_->GetTopIndex();
}
win::DWORD QtItemWindow::ItemFromPoint(win::Point point) const {
    return items_->ItemFromPoint(point);
}

void QtItemWindow::Destroy() {
    if (items_->IsOwnerDraw())
        items_->ReportAllDeleted();
    QtControlWindow::Destroy();
}

QtListBoxWindow::QtListBoxWindow(QtDialogWindow& dialog, const win::ControlTemplate& control, QWidget* parent)
    : QtItemWindow(dialog, control), list_(new QtOwnerDrawList(*this, parent)) {
    SetItems(list_, *list_);
}

win::Rect QtListBoxWindow::GetClientRect() const {
    if (!list_)
        return {};
    const QWidget* viewport = list_->viewport();
    return {0, 0, viewport->width(), viewport->height()};
}

QtComboBoxWindow::QtComboBoxWindow(QtDialogWindow& dialog, const win::ControlTemplate& control,
                                   int dropDownHeight, QWidget* parent)
    : QtItemWindow(dialog, control) {
    auto* combo = new QtComboBox(*this, parent, dropDownHeight);
    SetItems(combo, *combo);
}

std::string QtComboBoxWindow::GetWindowText() const {
    return GetItemText(GetCurSel());
}

}  // namespace qtwin
