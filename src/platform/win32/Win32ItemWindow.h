#pragma once
// A list box or combo box: the LB_* and CB_* calls of the same name, picked by the box's kind. The
// dialog reflects the owner-draw records to the box's handler object (see Win32DialogRouting).

#include "Win32Window.h"

namespace win32 {

class Win32ItemWindow final : public Win32Window {
  public:
    Win32ItemWindow(Win32WindowHost& host, NativeWindow native, bool comboBox);

    int AddString(std::string_view gbkText) override;
    int InsertString(int index, std::string_view gbkText) override;
    int DeleteString(int index) override;
    void ResetContent() override;
    int GetCount() const override;
    int GetCurSel() const override;
    int SetCurSel(int index) override;
    std::string GetItemText(int index) const override;
    std::uintptr_t GetItemData(int index) const override;
    int SetItemData(int index, std::uintptr_t data) override;
    int SetItemHeight(int index, int height) override;
    win::DWORD ItemFromPoint(win::Point clientPoint) const override;
    int GetTopIndex() const override;

  private:
    // The message of a list box or its combo box twin.
    unsigned Pick(unsigned listMessage, unsigned comboMessage) const {
        return comboBox_ ? comboMessage : listMessage;
    }
    std::intptr_t Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) const;
    // An owner-drawn box without stored strings keeps the text argument as the entry's item data; the
    // program sets the data it means right after, so the entry starts with 0 rather than a pointer
    // into a string that is gone by then.
    std::intptr_t TextArgument(const std::wstring& wide) const;

    bool comboBox_;
};

}  // namespace win32
