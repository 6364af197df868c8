#include "QtItemStore.h"

#include <algorithm>
#include <climits>
#include <exception>

#include "QtControlWindow.h"
#include "platform/window/CWnd.h"

namespace qtwin {

QtItemStore::QtItemStore(QtControlWindow& window, win::UINT ctlType, bool ownerDraw, bool hasStrings)
    : window_(window), ctlType_(ctlType), ownerDraw_(ownerDraw), hasStrings_(hasStrings) {}

int QtItemStore::AddString(std::string_view gbkText) {
    return InsertString(-1, gbkText);
}

int QtItemStore::InsertString(int index, std::string_view gbkText) {
    if (index < 0 || index > GetCount())
        index = GetCount();
    // Without stored strings the "string" is the item data, as LB_ADDSTRING does for such boxes.
    QtItem item{hasStrings_ ? std::string(gbkText) : std::string(), 0, DefaultItemHeight()};
    items_.insert(items_.begin() + index, std::move(item));
    Measure(index);
    ItemInserted(index);
    return index;
}

void QtItemStore::Measure(int index) {
    win::CWnd* handler = window_.GetHandlerObject();
    if (!ownerDraw_ || handler == nullptr)
        return;
    QtItem& item = items_[static_cast<std::size_t>(index)];
    win::MeasureItemStruct measure{
        ctlType_, window_.GetDlgCtrlID(), index, 0, static_cast<win::UINT>(item.height), item.data};
    window_.Dispatch([&] { handler->MeasureItem(measure); }, [] {});
    if (measure.itemHeight > 0 && measure.itemHeight < 256)
        item.height = static_cast<int>(measure.itemHeight);
}

void QtItemStore::ReportDeleted(int index) {
    win::CWnd* handler = window_.GetHandlerObject();
    if (!ownerDraw_ || handler == nullptr)
        return;
    win::DeleteItemStruct deleted{ctlType_, window_.GetDlgCtrlID(), index, Item(index).data};
    window_.Dispatch([&] { handler->DeleteItem(deleted); }, [] {});
}

int QtItemStore::DeleteString(int index) {
    if (!IsValid(index))
        return -1;
    ReportDeleted(index);
    items_.erase(items_.begin() + index);
    ItemRemoved(index);
    return GetCount();
}

void QtItemStore::ResetContent() {
    for (int i = 0; i < GetCount(); ++i)
        ReportDeleted(i);
    items_.clear();
    ItemsReset();
}

int QtItemStore::InitStorage(int items) {
    constexpr int kErrorSpace = -2;  // LB_ERRSPACE: the room could not be had; the entries are as they were
    if (items < 0)
        return -1;
    try {
        items_.reserve(items_.size() + static_cast<std::size_t>(items));
    } catch (const std::exception&) {
        return kErrorSpace;
    }
    return static_cast<int>(std::min<std::size_t>(items_.capacity(), INT_MAX));
}

void QtItemStore::ReportAllDeleted() {
    ResetContent();
}

std::string QtItemStore::GetItemText(int index) const {
    return IsValid(index) ? Item(index).text : std::string();
}

std::uintptr_t QtItemStore::GetItemData(int index) const {
    return IsValid(index) ? Item(index).data : static_cast<std::uintptr_t>(-1);  // LB_ERR
}

int QtItemStore::SetItemData(int index, std::uintptr_t data) {
    if (!IsValid(index))
        return -1;
    items_[static_cast<std::size_t>(index)].data = data;
    return 0;
}

int QtItemStore::SetItemHeight(int index, int height) {
    if (!IsValid(index) || height <= 0 || height > 255)
        return -1;
    items_[static_cast<std::size_t>(index)].height = height;
    ItemHeightChanged(index);
    return 0;
}

int QtItemStore::ItemHeight(int index) const {
    return IsValid(index) ? Item(index).height : DefaultItemHeight();
}

}  // namespace qtwin
