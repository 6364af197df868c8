#include "controls/IconComboBox.h"

#include <algorithm>

#include "platform/window/Styles.h"

namespace controls {

namespace {

constexpr std::uintptr_t kNoData = ~std::uintptr_t{0};
constexpr win::COLORREF kWhite = win::RGB(255, 255, 255);

}  // namespace

const RuntimeClass CSmallIconComboBox::classCSmallIconComboBox{"CSmallIconComboBox", nullptr};
const RuntimeClass CLargeIconComboBox::classCLargeIconComboBox{"CLargeIconComboBox",
                                                               &CSmallIconComboBox::classCSmallIconComboBox};

const RuntimeClass* CSmallIconComboBox::GetRuntimeClass() const {
    return &classCSmallIconComboBox;
}
const RuntimeClass* CLargeIconComboBox::GetRuntimeClass() const {
    return &classCLargeIconComboBox;
}

bool CSmallIconComboBox::IsKindOf(const RuntimeClass* runtimeClass) const {
    for (const RuntimeClass* c = GetRuntimeClass(); c != nullptr; c = c->base) {
        if (c == runtimeClass)
            return true;
    }
    return false;
}

CSmallIconComboBox::~CSmallIconComboBox() {
    // Normally the window went first and reported every entry. A box destroyed while its window
    // lives on would leave the entries pointing at freed records, and their icons loaded for good.
    if (win::HWND box = GetSafeHwnd()) {
        for (int i = 0; i < box->GetCount(); ++i)
            box->SetItemData(i, 0);
    }
    for (const auto& record : records)
        Host().DestroyIcon(record->icon);
}

void CSmallIconComboBox::Diagnose(const char* line) const {
    if (IsAttached())
        Host().OutputDebugString(line);
}

void CSmallIconComboBox::PreSubclassWindow() {
    const win::DWORD style = GetSafeHwnd()->GetStyle();
    if ((style & win::CBS_HASSTRINGS) == 0)
        Diagnose("Icon combo box: the window lacks CBS_HASSTRINGS\n");
    if ((style & win::CBS_OWNERDRAWVARIABLE) == 0) {
        Diagnose("Icon combo box: the window lacks CBS_OWNERDRAWVARIABLE\n");
    }
    // The selection field is sized here once; the entries are measured as they are added.
    GetSafeHwnd()->SetItemHeight(-1, EntryHeight());
}

const IconComboItem* CSmallIconComboBox::RecordOf(std::uintptr_t itemData) const {
    if (itemData == 0 || itemData == kNoData)
        return nullptr;
    for (const auto& record : records) {
        if (reinterpret_cast<std::uintptr_t>(record.get()) == itemData)
            return record.get();
    }
    return nullptr;
}

int CSmallIconComboBox::StoreRecord(int index, win::HICON icon, win::UINT iconId) {
    if (index < 0) {
        Host().DestroyIcon(icon);  // the box took no entry, so nothing would ever release it
        return index;
    }
    records.push_back(std::make_unique<IconComboItem>(IconComboItem{icon, iconId}));
    GetSafeHwnd()->SetItemData(index, reinterpret_cast<std::uintptr_t>(records.back().get()));
    return index;
}

win::HICON CSmallIconComboBox::LoadEntryIcon(win::UINT iconId) {
    // An integer resource id is the low word of the name.
    win::HICON icon = IsAttached() ? Host().LoadIcon(static_cast<int>(iconId & 0xFFFF), IconSize()) : nullptr;
    if (IsAttached() && icon == nullptr)
        Diagnose("Icon combo box: the icon could not be loaded\n");
    return icon;
}

int CSmallIconComboBox::AddIcon(win::UINT iconId) {
    win::HICON icon = LoadEntryIcon(iconId);
    if (icon == nullptr)
        return -1;
    return StoreRecord(GetSafeHwnd()->AddString(""), icon, iconId);
}

int CSmallIconComboBox::InsertIcon(int index, win::UINT iconId) {
    win::HICON icon = LoadEntryIcon(iconId);
    if (icon == nullptr)
        return -1;
    return StoreRecord(GetSafeHwnd()->InsertString(index, ""), icon, iconId);
}

int CSmallIconComboBox::DeleteIcon(win::UINT index) {
    if (!IsAttached())
        return -1;
    // The record and icon go in DeleteItem, which the box calls for this entry.
    return GetSafeHwnd()->DeleteString(static_cast<int>(index));
}

win::UINT CSmallIconComboBox::GetSelectedIconId() const {
    if (!IsAttached())
        return 0;
    const int selected = GetSafeHwnd()->GetCurSel();
    if (selected < 0)
        return 0;
    const IconComboItem* record = RecordOf(GetSafeHwnd()->GetItemData(selected));
    return record == nullptr ? 0 : record->iconId;
}

int CSmallIconComboBox::SelectIconById(win::UINT iconId) {
    if (!IsAttached())
        return -1;
    win::HWND box = GetSafeHwnd();
    for (int i = 0; i < box->GetCount(); ++i) {
        const IconComboItem* record = RecordOf(box->GetItemData(i));
        if (record != nullptr && record->iconId == iconId)
            return box->SetCurSel(i);
    }
    Diagnose("Warning: Could not find matching icon in the icon combo box\n");
    return -1;
}

void CSmallIconComboBox::MeasureItem(win::MeasureItemStruct& measureItem) {
    measureItem.itemHeight = static_cast<win::UINT>(EntryHeight());
}

void CSmallIconComboBox::DrawItem(win::DrawItemStruct& drawItem) {
    if (drawItem.ctlType != win::ODT_COMBOBOX)
        Diagnose("Icon combo box: a draw request not from a combo box\n");
    if (drawItem.dc == nullptr)
        return;
    win::DeviceContext& dc = *drawItem.dc;
    const win::Rect& r = drawItem.rcItem;
    const bool selected = (drawItem.itemState & win::ODS_SELECTED) != 0;
    const bool whole = (drawItem.itemAction & win::ODA_DRAWENTIRE) != 0;
    const bool selectionChanged = (drawItem.itemAction & win::ODA_SELECT) != 0;
    if (selected && (whole || selectionChanged))
        dc.FillSolidRect(r, Host().GetSysColor(win::COLOR_HIGHLIGHT));
    // An entry drawn whole without selection keeps the list's own background.
    if (!selected && selectionChanged)
        dc.FillSolidRect(r, kWhite);
    // An empty box's selection field comes without a record and shows nothing.
    if (const IconComboItem* record = RecordOf(drawItem.itemData)) {
        dc.DrawIconEx(r.left + 1, r.top + 1, record->icon, IconSize(), IconSize());
    }
}

void CSmallIconComboBox::DeleteItem(win::DeleteItemStruct& deleteItem) {
    auto it = std::find_if(records.begin(), records.end(), [&](const auto& record) {
        return reinterpret_cast<std::uintptr_t>(record.get()) == deleteItem.itemData;
    });
    if (it == records.end()) {
        Diagnose("Icon combo box: a leaving entry had no record\n");
    } else {
        Host().DestroyIcon((*it)->icon);
        records.erase(it);
    }
    Default();
}

void DDX_IconCombo(DataExchange& exchange, int controlId, win::UINT& iconId) {
    win::HWND window = exchange.dialog.GetDlgItem(controlId);
    auto* combo = window == nullptr ? nullptr : dynamic_cast<CSmallIconComboBox*>(window->GetHandlerObject());
    if (combo == nullptr) {
        // Exchanging with anything else would read or write a selection that means no icon.
        exchange.dialog.GetHost().OutputDebugString("DDX_IconCombo: the control is not an icon combo box\n");
        return;
    }
    if (exchange.saveAndValidate) {
        iconId = combo->GetSelectedIconId();
    } else {
        combo->SelectIconById(iconId);
    }
}

}  // namespace controls
