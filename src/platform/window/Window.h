#pragma once
// One real window, the dialog or one of its controls: the HWND of the program. The window host owns
// it; the program reaches it through CWnd::GetSafeHwnd() or CDialog::GetDlgItem(). Texts are GBK.
// Unless a method says otherwise it may be called only on the dialog's thread.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window/WinTypes.h"

namespace win {

class CWnd;

class Window {
  public:
    virtual ~Window() = default;

    // Every window.
    virtual int GetDlgCtrlID() const = 0;
    virtual std::string GetWindowText() const = 0;
    virtual void SetWindowText(std::string_view gbkText) = 0;
    virtual void ShowWindow(int showCommand) = 0;  // SW_SHOW, SW_HIDE
    virtual bool IsWindowVisible() const = 0;
    virtual DWORD GetStyle() const = 0;
    virtual void SetStyle(DWORD style) = 0;  // SetWindowLong(GWL_STYLE)
    virtual Rect GetClientRect() const = 0;
    virtual void Invalidate(bool erase) = 0;
    virtual void RedrawWindow(UINT flags) = 0;  // RDW_*; with RDW_UPDATENOW painted before return
    virtual void SetCapture() = 0;
    virtual void ReleaseCapture() = 0;
    virtual bool HasCapture() const = 0;
    virtual LogFont GetFont() const = 0;
    // The native handling of the message now being dispatched to the window's CWnd (CWnd::Default).
    virtual void DefWindowProc() = 0;
    // The object whose handlers receive this window's messages and reflected notifications.
    virtual void SetHandlerObject(CWnd* object) = 0;
    virtual CWnd* GetHandlerObject() const = 0;

    // The dialog.
    virtual Window* GetDlgItem(int controlId) const = 0;
    virtual bool IsIconic() const = 0;
    virtual void SetIcon(HICON icon, bool bigIcon) = 0;
    virtual bool HasSystemMenu() const = 0;
    virtual void AppendSystemMenuSeparator() = 0;
    virtual void AppendSystemMenuItem(UINT commandId, std::string_view gbkText) = 0;
    virtual void EndDialog(int result) = 0;
    // Runs the message on the dialog's thread and returns when it has been handled. Any thread.
    virtual LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // Buttons and check boxes.
    virtual int GetCheck() const = 0;
    virtual void SetCheck(int state) = 0;
    virtual void SetButtonIcon(HICON icon) = 0;  // BM_SETIMAGE with IMAGE_ICON

    // Edit.
    virtual void LimitText(int maxChars) = 0;

    // List boxes and combo boxes (the LB_* and CB_* operations of the same name).
    virtual int AddString(std::string_view gbkText) = 0;
    virtual int InsertString(int index, std::string_view gbkText) = 0;
    virtual int DeleteString(int index) = 0;  // the count left, or -1
    virtual void ResetContent() = 0;
    virtual int GetCount() const = 0;
    virtual int GetCurSel() const = 0;
    virtual int SetCurSel(int index) = 0;                  // -1 (LB_ERR) when index names no entry or is -1
    virtual std::string GetItemText(int index) const = 0;  // LB_GETTEXT, CB_GETLBTEXT
    virtual std::uintptr_t GetItemData(int index) const = 0;
    virtual int SetItemData(int index, std::uintptr_t data) = 0;
    virtual int SetItemHeight(int index, int height) = 0;  // combo: -1 is the selection field
    // LB_ITEMFROMPOINT: low word the nearest entry, high word 1 when the point is outside every entry.
    virtual DWORD ItemFromPoint(Point clientPoint) const = 0;
    // LB_GETTOPINDEX: the entry shown first.
    virtual int GetTopIndex() const = 0;

    // IPv4 address controls: fields in IPM_SETADDRESS order (first field in the high byte).
    virtual void SetAddress(DWORD address) = 0;
    virtual void ClearAddress() = 0;
};

using HWND = Window*;

}  // namespace win
