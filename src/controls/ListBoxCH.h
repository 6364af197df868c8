#pragma once
// The profile list: an owner-drawn list box whose rows show a 32x32 icon and a name, painted in the
// control's own colours, and which keeps its own current index. The dialog's profile commands ask
// for that index instead of the list box's selection; -1 means no profile.
//
// The window must be LBS_OWNERDRAWVARIABLE | LBS_NOTIFY | LBS_WANTKEYBOARDINPUT without LBS_HASSTRINGS
// or LBS_SORT: entries keep the order they were added in and their item data is our record.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "platform/window/CWnd.h"

namespace controls {

struct ProfileListItem {
    static constexpr std::size_t kMaxTextBytes = 255;  // of GBK text
    // Sized to the name rather than a fixed field: a list of many profiles is that much less memory
    // to fault in at start.
    std::string text;
    win::HICON icon = nullptr;  // the caller's; the list never destroys it
};

// A name as a record keeps it: a longer name is cut at 255 bytes, or at 254 when the 255th byte would
// be the first half of a double-byte character.
std::string ProfileText(const char* text);

class CListBoxCH : public win::CWnd {
  public:
    static constexpr int kRowWidth = 100;
    static constexpr int kRowHeight = 40;

    void AddItem(const char* text, win::HICON icon);
    void InsertItem(int index, const char* text, win::HICON icon);
    // Tells the list box how many more entries come, before a long run of AddItem.
    void InitStorage(int count);
    void SetCurrentIndex(int index);
    int GetCurrentIndex() const { return currentIndex; }

    void OnLButtonUp(win::UINT flags, win::Point point) override;
    void DrawItem(win::DrawItemStruct& drawItem) override;
    void MeasureItem(win::MeasureItemStruct& measureItem) override;
    int VKeyToItem(win::UINT key, win::UINT caretIndex) override;

  protected:
    void PreSubclassWindow() override;

  private:
    ProfileListItem* NewRecord(const char* text, win::HICON icon);
    int PageSize(win::HWND list) const;
    const ProfileListItem* RecordOf(std::uintptr_t itemData) const;
    void DrawRow(win::DeviceContext& dc, const win::Rect& row, const win::Rect& fill,
                 const ProfileListItem* record, win::COLORREF fillColor, win::COLORREF textColor) const;

    // Every record ever made, in creation order; a deque keeps each where it was made, as the entries'
    // item data point at them. Deleting an entry leaves its record here: the dialog replaces an entry by
    // deleting it and inserting a new one, and nothing else frees a record.
    std::deque<ProfileListItem> items;
    win::COLORREF selectedBackColor = win::RGB(0, 0, 255);
    win::COLORREF backColor = win::RGB(255, 255, 255);
    win::COLORREF selectedTextColor = win::RGB(255, 255, 255);
    bool drawSeparator = true;
    int currentIndex = -1;
};

}  // namespace controls
