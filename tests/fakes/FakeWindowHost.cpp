#include "FakeWindowHost.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/window/Styles.h"

namespace fakes {

using win::ControlKind;

FakeWindow::FakeWindow(FakeWindowHost& host, ControlKind kind, int id, std::string text, win::DWORD style,
                       win::Rect rect, FakeWindow* parent)
    : host_(host), kind_(kind), id_(id), text_(std::move(text)), style_(style), rect_(rect) {
    visible_ = parent == nullptr || (style & win::WS_VISIBLE) != 0;
}

std::string FakeWindow::GetWindowText() const {
    if (kind_ == ControlKind::IpAddress) {
        if (!address_)
            return "";
        std::ostringstream out;
        out << (*address_)[0] << '.' << (*address_)[1] << '.' << (*address_)[2] << '.' << (*address_)[3];
        return out.str();
    }
    if (kind_ == ControlKind::ComboBox)
        return curSel_ >= 0 ? items_[static_cast<std::size_t>(curSel_)].text : "";
    return text_;
}

void FakeWindow::SetWindowText(std::string_view gbkText) {
    if (kind_ != ControlKind::IpAddress) {
        text_ = std::string(gbkText);
        return;
    }
    // Dotted text fills the four fields; text that is not four numbers of 0 to 255 leaves it blank.
    std::array<int, 4> fields{};
    std::istringstream in{std::string(gbkText)};
    char dot = 0;
    bool ok = static_cast<bool>(in >> fields[0]);
    for (int i = 1; ok && i < 4; ++i)
        ok = (in >> dot >> fields[static_cast<std::size_t>(i)]) && dot == '.';
    for (int f : fields)
        ok = ok && f >= 0 && f <= 255;
    if (ok) {
        address_ = fields;
    } else {
        address_.reset();
    }
}

void FakeWindow::Invalidate(bool) {
    ++invalidateCount_;
}

void FakeWindow::RedrawWindow(win::UINT flags) {
    ++invalidateCount_;
    if ((flags & win::RDW_UPDATENOW) != 0)
        ++redrawNowCount_;
}

namespace {
FakeWindow* captureOwner = nullptr;
}

void FakeWindow::SetCapture() {
    captureOwner = this;
}
void FakeWindow::ReleaseCapture() {
    if (captureOwner == this)
        captureOwner = nullptr;
}
bool FakeWindow::HasCapture() const {
    return captureOwner == this;
}

void FakeWindow::Dispatch(const std::function<void()>& handlerCall, std::function<void()> nativeHandling) {
    if (handler_ == nullptr) {
        nativeHandling();
        return;
    }
    nativeHandling_.push_back(std::move(nativeHandling));
    handlerCall();
    nativeHandling_.pop_back();
}

void FakeWindow::DefWindowProc() {
    if (!nativeHandling_.empty() && nativeHandling_.back()) {
        auto native = std::move(nativeHandling_.back());
        nativeHandling_.back() = nullptr;  // native handling runs once per message
        native();
    }
}

win::Window* FakeWindow::GetDlgItem(int controlId) const {
    for (const auto& child : children_) {
        if (child->id_ == controlId)
            return child.get();
    }
    return nullptr;
}

FakeWindow& Item(FakeWindow& dialog, int controlId) {
    auto* control = static_cast<FakeWindow*>(dialog.GetDlgItem(controlId));
    if (control == nullptr) {
        std::fprintf(stderr, "the dialog has no control %d\n", controlId);
        std::abort();
    }
    return *control;
}

bool FakeWindow::HasSystemMenu() const {
    return (style_ & win::WS_SYSMENU) != 0;
}

void FakeWindow::EndDialog(int result) {
    if (!endResult_)
        endResult_ = result;
}

win::LRESULT FakeWindow::SendMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    std::lock_guard lock(host_.DispatchMutex());
    win::CDialog* dialog = host_.DialogOf(*this);
    return dialog == nullptr || endResult_ ? 0 : dialog->WindowProc(message, wParam, lParam);
}

bool FakeWindow::IsOwnerDraw() const {
    return (kind_ == ControlKind::ListBox && (style_ & win::LBS_OWNERDRAWVARIABLE) != 0) ||
           (kind_ == ControlKind::ComboBox && (style_ & win::CBS_OWNERDRAWVARIABLE) != 0);
}

void FakeWindow::MeasureNewItem(int index) {
    if (!IsOwnerDraw() || handler_ == nullptr)
        return;
    win::MeasureItemStruct measure{
        kind_ == ControlKind::ListBox ? win::ODT_LISTBOX : win::ODT_COMBOBOX, id_, index, 0, 16, 0};
    handler_->MeasureItem(measure);
    items_[static_cast<std::size_t>(index)].height = static_cast<int>(measure.itemHeight);
}

int FakeWindow::AddString(std::string_view gbkText) {
    items_.push_back({std::string(gbkText), 0, 16});
    const int index = static_cast<int>(items_.size()) - 1;
    MeasureNewItem(index);
    return index;
}

int FakeWindow::InsertString(int index, std::string_view gbkText) {
    if (index < 0 || index > GetCount())
        index = GetCount();
    items_.insert(items_.begin() + index, {std::string(gbkText), 0, 16});
    MeasureNewItem(index);
    return index;
}

void FakeWindow::ReportDeleteItem(int index) {
    if (!IsOwnerDraw() || handler_ == nullptr)
        return;
    win::DeleteItemStruct deleted{kind_ == ControlKind::ListBox ? win::ODT_LISTBOX : win::ODT_COMBOBOX, id_,
                                  index, items_[static_cast<std::size_t>(index)].data};
    Dispatch([&] { handler_->DeleteItem(deleted); }, [] {});
}

int FakeWindow::DeleteString(int index) {
    if (index < 0 || index >= GetCount())
        return -1;
    ReportDeleteItem(index);
    items_.erase(items_.begin() + index);
    // As the list box does: the selection goes with the deleted entry, later entries move up.
    if (curSel_ == index)
        curSel_ = -1;
    if (curSel_ > index)
        --curSel_;
    return GetCount();
}

void FakeWindow::ResetContent() {
    for (int i = 0; i < GetCount(); ++i)
        ReportDeleteItem(i);
    items_.clear();
    curSel_ = -1;
}

void FakeWindow::DeleteAllItemsOnDestroy() {
    for (auto& child : children_)
        child->ResetContent();
}

int FakeWindow::SetCurSel(int index) {
    if (index < 0 || index >= GetCount()) {
        curSel_ = -1;
        return -1;
    }
    curSel_ = index;
    return index;
}

std::string FakeWindow::GetItemText(int index) const {
    if (index < 0 || index >= GetCount())
        return "";
    return items_[static_cast<std::size_t>(index)].text;
}

std::uintptr_t FakeWindow::GetItemData(int index) const {
    if (index < 0 || index >= GetCount())
        return static_cast<std::uintptr_t>(-1);
    return items_[static_cast<std::size_t>(index)].data;
}

int FakeWindow::SetItemData(int index, std::uintptr_t data) {
    if (index < 0 || index >= GetCount())
        return -1;
    items_[static_cast<std::size_t>(index)].data = data;
    return 0;
}

int FakeWindow::SetItemHeight(int index, int height) {
    if (index == -1) {
        selectionFieldHeight_ = height;
        return 0;
    }
    if (index < 0 || index >= GetCount())
        return -1;
    items_[static_cast<std::size_t>(index)].height = height;
    return 0;
}

int FakeWindow::PageSize() const {
    int shown = 0;
    int height = 0;
    for (int i = topIndex_; i < GetCount(); ++i, ++shown) {
        height += items_[static_cast<std::size_t>(i)].height;
        if (height > rect_.Height())
            break;
    }
    return std::max(1, shown);
}

win::DWORD FakeWindow::ItemFromPoint(win::Point point) const {
    int top = 0;
    for (int i = 0; i < GetCount(); ++i) {
        const int height = items_[static_cast<std::size_t>(i)].height;
        if (point.y < top + height)
            return static_cast<win::DWORD>(i);
        top += height;
    }
    // Below the last entry: the nearest is the last one, and the point is outside every entry.
    const int nearest = GetCount() > 0 ? GetCount() - 1 : 0;
    return static_cast<win::DWORD>(nearest) | 0x10000;
}

void FakeWindow::SetAddress(win::DWORD address) {
    address_ = std::array<int, 4>{static_cast<int>(address >> 24), static_cast<int>((address >> 16) & 0xFF),
                                  static_cast<int>((address >> 8) & 0xFF), static_cast<int>(address & 0xFF)};
}

std::vector<FakeWindow*> FakeWindow::Children() const {
    std::vector<FakeWindow*> result;
    for (const auto& child : children_)
        result.push_back(child.get());
    return result;
}

void FakeWindow::AddChild(std::unique_ptr<FakeWindow> child) {
    children_.push_back(std::move(child));
}

}  // namespace fakes
