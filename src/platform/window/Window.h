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

    // The calls of one kind of window. As any HWND takes any message, any window takes any call: on a
    // window of another kind it does nothing and answers the call's failure value.

    // The dialog.
    virtual Window* GetDlgItem(int /*controlId*/) const { return nullptr; }
    virtual bool IsIconic() const { return false; }
    virtual void SetIcon(HICON /*icon*/, bool /*bigIcon*/) {}
    virtual bool HasSystemMenu() const { return false; }
    virtual void AppendSystemMenuSeparator() {}
    virtual void AppendSystemMenuItem(UINT /*commandId*/, std::string_view /*gbkText*/) {}
    virtual void EndDialog(int /*result*/) {}
    // Runs the message on the dialog's thread and returns when it has been handled. Any thread.
    virtual LRESULT SendMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return 0; }

    // Buttons and check boxes.
    virtual int GetCheck() const { return BST_UNCHECKED; }
    virtual void SetCheck(int /*state*/) {}
    virtual void SetButtonIcon(HICON /*icon*/) {}  // BM_SETIMAGE with IMAGE_ICON

    // Edit.
    virtual void LimitText(int /*maxChars*/) {}

    // List boxes and combo boxes (the LB_* and CB_* operations of the same name).
    virtual int AddString(std::string_view /*gbkText*/) { return LB_ERR; }
    virtual int InsertString(int /*index*/, std::string_view /*gbkText*/) { return LB_ERR; }
    virtual int DeleteString(int /*index*/) { return LB_ERR; }  // the count left, or -1
    virtual void ResetContent() {}
    // Room for this many more entries before they are added; the entries the box has room for, or
    // LB_ERR.
    virtual int InitStorage(int /*items*/, UINT /*bytes*/) { return LB_ERR; }
    virtual int GetCount() const { return 0; }
    virtual int GetCurSel() const { return LB_ERR; }
    // LB_ERR when index names no entry or is -1.
    virtual int SetCurSel(int /*index*/) { return LB_ERR; }
    virtual std::string GetItemText(int /*index*/) const { return {}; }  // LB_GETTEXT, CB_GETLBTEXT
    virtual std::uintptr_t GetItemData(int /*index*/) const { return static_cast<std::uintptr_t>(LB_ERR); }
    virtual int SetItemData(int /*index*/, std::uintptr_t /*data*/) { return LB_ERR; }
    // A combo box's index -1 is its selection field.
    virtual int SetItemHeight(int /*index*/, int /*height*/) { return LB_ERR; }
    // LB_ITEMFROMPOINT: low word the nearest entry, high word 1 when the point is outside every entry.
    virtual DWORD ItemFromPoint(Point /*clientPoint*/) const { return 0x10000; }
    // LB_GETTOPINDEX: the entry shown first.
    virtual int GetTopIndex() const { return 0; }

    // IPv4 address controls: fields in IPM_SETADDRESS order (first field in the high byte).
    virtual void SetAddress(DWORD /*address*/) {}
    virtual void ClearAddress() {}
};

using HWND = Window*;

}  // namespace win
