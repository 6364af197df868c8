#pragma once
// The windowing platform: creates dialogs from templates, runs them modally, shows message boxes and
// owns icons and cursors. Implemented by the Qt backend and, in tests, by the fake host.

#include <string_view>

#include "platform/window/DialogTemplate.h"
#include "platform/window/Window.h"

namespace win {

class CDialog;

class WindowHost {
  public:
    virtual ~WindowHost() = default;

    // Creates the dialog's window from its template, attaches it to the dialog, sends WM_INITDIALOG
    // and runs the modal loop; returns the EndDialog result. The window is destroyed before return.
    virtual int RunModal(CDialog& dialog, const DialogTemplate& dialogTemplate, HWND owner) = 0;

    // MessageBox: owner may be null (the application's message box). Any thread: from another thread
    // the box is shown on the dialog's thread while the caller waits. Returns IDOK, IDCANCEL, ...
    virtual int MessageBox(HWND owner, std::string_view gbkText, std::string_view gbkCaption, UINT type) = 0;
    // SendMessage to a dialog by its handle, from any thread: the message runs on the dialog's thread
    // while the caller waits. As on Windows, a handle whose window no longer exists answers 0 and
    // nothing runs, so a thread may hold a handle that outlives its window.
    virtual LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // Resources: icons by id at a size (0 = the icon's own size), cursors by id. Null on failure.
    virtual HICON LoadIcon(int resourceId, int size) = 0;
    virtual void DestroyIcon(HICON icon) = 0;
    virtual HCURSOR LoadCursor(int resourceId) = 0;
    virtual void SetCursor(HCURSOR cursor) = 0;

    virtual int GetSystemMetrics(int index) const = 0;
    virtual COLORREF GetSysColor(int index) const = 0;
    // Debug output (OutputDebugString): diagnostic lines, never shown to the user.
    virtual void OutputDebugString(std::string_view text) = 0;
};

}  // namespace win
