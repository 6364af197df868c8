#include "controls/ListBoxCH.h"

#include <algorithm>

namespace controls {

namespace {

constexpr win::COLORREF kBlack = win::RGB(0, 0, 0);
constexpr std::uintptr_t kNoData = ~std::uintptr_t{0};

// The list box's movement keys besides VK_UP and VK_DOWN.
constexpr win::UINT kVkPageUp = 0x21;
constexpr win::UINT kVkPageDown = 0x22;
constexpr win::UINT kVkEnd = 0x23;
constexpr win::UINT kVkHome = 0x24;
constexpr win::UINT kVkLeft = 0x25;
constexpr win::UINT kVkRight = 0x27;

// GBK: a byte 0x81..0xFE starts a two-byte character.
bool IsLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

}  // namespace

std::string ProfileText(const char* text) {
    std::size_t length = 0;
    if (text != nullptr) {
        // Names read from a hand-edited profile file are not limited; a cut must not leave the first
        // half of a double-byte character at the end, which would be drawn as a broken character.
        while (text[length] != '\0') {
            const bool wide =
                IsLeadByte(static_cast<unsigned char>(text[length])) && text[length + 1] != '\0';
            const std::size_t next = length + (wide ? 2 : 1);
            if (next > ProfileListItem::kMaxTextBytes)
                break;
            length = next;
        }
    }
    return {text == nullptr ? "" : text, length};
}

ProfileListItem* CListBoxCH::NewRecord(const char* text, win::HICON icon) {
    return &items.emplace_back(ProfileListItem{ProfileText(text), icon});
}

const ProfileListItem* CListBoxCH::RecordOf(std::uintptr_t itemData) const {
    if (itemData == 0 || itemData == kNoData)
        return nullptr;
    // Only our own records are trusted: an entry added behind our back carries other data.
    for (const ProfileListItem& record : items) {
        if (reinterpret_cast<std::uintptr_t>(&record) == itemData)
            return &record;
    }
    return nullptr;
}

void CListBoxCH::AddItem(const char* text, win::HICON icon) {
    ProfileListItem* record = NewRecord(text, icon);
    win::HWND list = GetSafeHwnd();
    if (list == nullptr)
        return;
    const int index = list->AddString("");
    if (index >= 0)
        list->SetItemData(index, reinterpret_cast<std::uintptr_t>(record));
}

void CListBoxCH::InsertItem(int index, const char* text, win::HICON icon) {
    ProfileListItem* record = NewRecord(text, icon);
    win::HWND list = GetSafeHwnd();
    if (list == nullptr)
        return;
    // The record goes to the index the list box reports: an index of -1 or past the end appends, and
    // item data set at -1 would land on every entry.
    const int inserted = list->InsertString(index, "");
    if (inserted >= 0)
        list->SetItemData(inserted, reinterpret_cast<std::uintptr_t>(record));
}

void CListBoxCH::InitStorage(int count) {
    if (count <= 0)
        return;
    if (win::HWND list = GetSafeHwnd())
        list->InitStorage(count, 0);
}

void CListBoxCH::SetCurrentIndex(int index) {
    currentIndex = index;
    if (win::HWND list = GetSafeHwnd())
        list->SetCurSel(index);
}

void CListBoxCH::PreSubclassWindow() {
    currentIndex = -1;
}

void CListBoxCH::MeasureItem(win::MeasureItemStruct& measureItem) {
    measureItem.itemWidth = kRowWidth;
    measureItem.itemHeight = kRowHeight;
}

void CListBoxCH::DrawRow(win::DeviceContext& dc, const win::Rect& row, const win::Rect& fill,
                         const ProfileListItem* record, win::COLORREF fillColor,
                         win::COLORREF textColor) const {
    dc.FillSolidRect(fill, fillColor);
    if (drawSeparator)
        dc.DrawEdge(fill, win::EDGE_SUNKEN, win::BF_BOTTOM);
    if (record == nullptr)
        return;
    // A profile whose icon number names no icon keeps its row but has no icon to show.
    if (record->icon != nullptr)
        dc.DrawIcon(row.left + 2, row.top + 2, record->icon);
    dc.SetTextColor(textColor);
    // The text sits right of the 32-pixel icon, a little below the row's middle line. Without
    // DT_NOPREFIX an "&" in a name underlines the next letter, as in the names' other displays.
    const win::Rect text{row.left + 34, row.top + 12, row.right, row.bottom + 8};
    dc.DrawText(record->text, text, win::DT_SINGLELINE);
}

void CListBoxCH::DrawItem(win::DrawItemStruct& drawItem) {
    const bool selected = (drawItem.itemState & win::ODS_SELECTED) != 0;
    const bool whole = (drawItem.itemAction & win::ODA_DRAWENTIRE) != 0;
    const bool selectionChanged = (drawItem.itemAction & win::ODA_SELECT) != 0;
    const bool normalLook = whole || (!selected && selectionChanged);
    const bool selectedLook = selected && (whole || selectionChanged);
    // A focus change alone draws nothing: the selected colours already mark the row.
    if ((!normalLook && !selectedLook) || drawItem.dc == nullptr)
        return;

    win::DeviceContext& dc = *drawItem.dc;
    const win::Rect& row = drawItem.rcItem;
    const ProfileListItem* record = RecordOf(drawItem.itemData);
    dc.SetBkMode(win::TRANSPARENT);
    if (normalLook)
        DrawRow(dc, row, row, record, backColor, kBlack);
    if (selectedLook) {
        dc.FrameRect(row, kBlack);
        DrawRow(dc, row, row.Deflated(1), record, selectedBackColor, selectedTextColor);
    }
}

void CListBoxCH::OnLButtonUp(win::UINT, win::Point point) {
    // The list box reports the selection change to the dialog while it handles this release, and the
    // dialog's handler asks for the current index: it must name the clicked row before Default().
    if (win::HWND list = GetSafeHwnd()) {
        currentIndex = list->GetCount() == 0 ? -1 : static_cast<int>(list->ItemFromPoint(point) & 0xFFFF);
    }
    Default();
}

// The list box's page: the entries shown whole from its top entry on, at least one. Every row is
// kRowHeight tall, as MeasureItem answers for each entry.
int CListBoxCH::PageSize(win::HWND list) const {
    const int shown =
        std::min(list->GetClientRect().Height() / kRowHeight, list->GetCount() - list->GetTopIndex());
    return std::max(1, shown);
}

// The list box asks before it moves its selection and reports the change while it moves, and every
// profile command acts on the current index: so the current index is set here to the entry the key
// moves to. The list box moves from the selected entry, or, with none selected (none yet, or the
// selected entry was just replaced), from the caret entry, which arrow keys select without moving.
// Up and left move one entry back, down and right one on, Page Up and Page Down to the other end of
// the page that starts at the entry, Home and End to either end, all stopping at the ends. Other keys
// move nothing and leave the current index alone; the answer -1 lets the list box do its own move.
int CListBoxCH::VKeyToItem(win::UINT key, win::UINT caretIndex) {
    win::HWND list = GetSafeHwnd();
    const int count = list == nullptr ? 0 : list->GetCount();
    if (count == 0)
        return -1;
    const int selected = list->GetCurSel();
    const int from = selected >= 0 ? selected : std::clamp(static_cast<int>(caretIndex), 0, count - 1);
    int to = from;
    switch (key) {
        case win::VK_UP:
        case kVkLeft:
            to = selected >= 0 ? from - 1 : from;
            break;
        case win::VK_DOWN:
        case kVkRight:
            to = selected >= 0 ? from + 1 : from;
            break;
        case kVkPageUp:
            to = from - (PageSize(list) - 1);
            break;
        case kVkPageDown:
            to = from + (PageSize(list) - 1);
            break;
        case kVkHome:
            to = 0;
            break;
        case kVkEnd:
            to = count - 1;
            break;
        default:
            return -1;
    }
    currentIndex = std::clamp(to, 0, count - 1);
    return -1;
}

}  // namespace controls
