#pragma once
// The entries of a list box or combo box as Windows keeps them: text, item data and, for owner-drawn
// boxes, a height asked of the owner when the entry is added and a deletion reported when it leaves.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/WinTypes.h"

namespace qtwin {

class QtControlWindow;

struct QtItem {
    std::string text;  // GBK; empty in a box that stores no strings
    std::uintptr_t data = 0;
    int height = 0;
};

class QtItemStore {
  public:
    QtItemStore(QtControlWindow& window, win::UINT ctlType, bool ownerDraw, bool hasStrings);
    virtual ~QtItemStore() = default;
    QtItemStore(const QtItemStore&) = delete;
    QtItemStore& operator=(const QtItemStore&) = delete;

    int AddString(std::string_view gbkText);
    int InsertString(int index, std::string_view gbkText);
    int DeleteString(int index);  // the count left, or -1
    void ResetContent();
    int InitStorage(int items);
    int GetCount() const { return static_cast<int>(items_.size()); }
    std::string GetItemText(int index) const;
    std::uintptr_t GetItemData(int index) const;
    int SetItemData(int index, std::uintptr_t data);
    virtual int SetItemHeight(int index, int height);
    int ItemHeight(int index) const;

    virtual int GetCurSel() const = 0;
    virtual int SetCurSel(int index) = 0;
    virtual win::DWORD ItemFromPoint(win::Point) const { return 0x10000; }
    virtual int GetTopIndex() const { return 0; }

    bool IsOwnerDraw() const { return ownerDraw_; }
    // Destruction of the window: every entry is reported deleted, then the box is empty.
    void ReportAllDeleted();

  protected:
    // The widget's side of a change; called after the entries changed.
    virtual void ItemInserted(int index) = 0;
    virtual void ItemRemoved(int index) = 0;
    virtual void ItemsReset() = 0;
    virtual void ItemHeightChanged(int) {}
    // The height an entry has before the owner measures it, and the one a box not owner-drawn gives.
    virtual int DefaultItemHeight() const = 0;

    const QtItem& Item(int index) const { return items_[static_cast<std::size_t>(index)]; }
    bool IsValid(int index) const { return index >= 0 && index < GetCount(); }
    QtControlWindow& Window() const { return window_; }
    win::UINT CtlType() const { return ctlType_; }

  private:
    void Measure(int index);
    void ReportDeleted(int index);

    QtControlWindow& window_;
    win::UINT ctlType_;
    bool ownerDraw_;
    bool hasStrings_;
    std::vector<QtItem> items_;
};

}  // namespace qtwin
