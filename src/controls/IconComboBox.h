#pragma once
// Icon combo boxes: drop-down lists whose entries are icons without text. The small box shows 16x16
// icons in 18-pixel entries, the large one 32x32 icons in 34-pixel entries. Each entry owns a record
// with its icon and the resource id it came from; both go when the entry leaves the box, however it
// leaves, since the box reports every leaving entry (WM_DELETEITEM).
//
// The window must be CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS. Problems a developer should see (a
// missing style, an icon that does not load, a lookup without a match) are written to the debug
// output in every build; they change nothing else.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/window/CDialog.h"

namespace controls {

struct IconComboItem {
    win::HICON icon = nullptr;
    win::UINT iconId = 0;
};

// Run-time class information: a class's name and its base, so a caller can ask whether a control
// object is a kind of icon combo box without knowing which one it has.
struct RuntimeClass {
    const char* className;
    const RuntimeClass* base;
};

class CSmallIconComboBox : public win::CWnd {
  public:
    static const RuntimeClass classCSmallIconComboBox;

    CSmallIconComboBox() = default;
    ~CSmallIconComboBox() override;

    virtual const RuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const RuntimeClass* runtimeClass) const;

    // Each returns the entry's index, or -1 when the icon cannot be loaded (the box is unchanged).
    int AddIcon(win::UINT iconId);
    int InsertIcon(int index, win::UINT iconId);
    // The number of entries left, or -1.
    int DeleteIcon(win::UINT index);
    // 0 when nothing is selected: no icon of the program has id 0.
    win::UINT GetSelectedIconId() const;
    // Selects the first entry showing iconId; -1 and the selection unchanged when none does.
    int SelectIconById(win::UINT iconId);

    void DrawItem(win::DrawItemStruct& drawItem) override;
    void MeasureItem(win::MeasureItemStruct& measureItem) override;
    void DeleteItem(win::DeleteItemStruct& deleteItem) override;

  protected:
    void PreSubclassWindow() override;
    virtual int IconSize() const { return 16; }
    virtual int EntryHeight() const { return 18; }

  private:
    int StoreRecord(int index, win::HICON icon, win::UINT iconId);
    // The entry's icon at the box's size; null (after a diagnostic line) when it cannot be loaded.
    win::HICON LoadEntryIcon(win::UINT iconId);
    const IconComboItem* RecordOf(std::uintptr_t itemData) const;
    void Diagnose(const char* line) const;

    // One record per entry now in the box; the item data of an entry is its record's address.
    std::vector<std::unique_ptr<IconComboItem>> records;
};

class CLargeIconComboBox : public CSmallIconComboBox {
  public:
    static const RuntimeClass classCLargeIconComboBox;

    const RuntimeClass* GetRuntimeClass() const override;

  protected:
    int IconSize() const override { return 32; }
    int EntryHeight() const override { return 34; }
};

// A dialog's data exchange: saving copies controls into variables, loading the other way round.
struct DataExchange {
    win::CDialog& dialog;
    bool saveAndValidate = false;
};

// Exchanges the selection of the icon combo box controlId with a variable holding an icon id.
void DDX_IconCombo(DataExchange& exchange, int controlId, win::UINT& iconId);

}  // namespace controls
