#pragma once
// Dialogs on the real Win32 window host under the system's dialog manager. A script runs on a thread
// of its own once the dialog is up and drives it as a user would, through posted input that the modal
// loop's IsDialogMessage handles; a dialog still open when the script ends is closed as Esc closes it.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "platform/win32/Win32Window.h"
#include "platform/win32/Win32WindowHost.h"
#include "platform/window/CDialog.h"

// Last: <windows.h> after the program's window headers.
#include "platform/win32/NativeWindows.h"

namespace win32_test {

inline HWND NativeOf(win::HWND window) {
    return window == nullptr ? nullptr : static_cast<win32::Win32Window*>(window)->Native();
}

// What the dialog was told, in order.
struct Heard {
    int controlId;  // -1 for the close request
    unsigned code;
    bool onDialogThread;
    friend bool operator==(const Heard&, const Heard&) = default;
};

class RecordingDialog : public win::CDialog {
  public:
    RecordingDialog(win::WindowHost& host, const win::DialogTemplate& dialogTemplate)
        : CDialog(host, dialogTemplate), thread_(GetCurrentThreadId()) {}

    bool OnInitDialog() override {
        if (onInit)
            onInit(*this);
        up = true;
        return true;
    }
    void OnCommand(int controlId, win::UINT notifyCode) override {
        heard.push_back({controlId, notifyCode, GetCurrentThreadId() == thread_});
        CDialog::OnCommand(controlId, notifyCode);
    }
    void OnClose() override {
        heard.push_back({-1, 0, GetCurrentThreadId() == thread_});
        CDialog::OnClose();
    }

    std::function<void(RecordingDialog&)> onInit;
    std::vector<Heard> heard;
    std::atomic<bool> up = false;

  private:
    DWORD thread_;
};

// The native window that has the focus in the dialog's thread.
inline HWND FocusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

// A key pressed and released on the focused control, as the keyboard would deliver it.
inline void PostKey(HWND dialog, UINT key) {
    HWND target = FocusOf(dialog);
    if (target == nullptr)
        target = dialog;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

// Runs the dialog modally while script drives it from another thread; returns the modal result.
inline int RunDriven(RecordingDialog& dialog, const std::function<void(HWND)>& script) {
    std::atomic<bool> finished = false;
    std::thread driver([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!dialog.up && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        HWND native = NativeOf(dialog.GetSafeHwnd());
        if (native != nullptr) {
            script(native);
            if (IsWindow(native))
                PostMessageW(native, WM_COMMAND, IDCANCEL, 0);
        }
        finished = true;
    });
    const int result = dialog.DoModal();
    driver.join();
    EXPECT_TRUE(finished);
    return result;
}

// Lets the dialog's thread handle what was posted before this call.
inline void Settle(HWND dialog) {
    SendMessageW(dialog, WM_NULL, 0, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    SendMessageW(dialog, WM_NULL, 0, 0);
}

// The top-level dialog of this process with the caption; null when there is none.
inline HWND OwnDialog(const std::wstring& caption) {
    for (HWND found = FindWindowExW(nullptr, nullptr, L"#32770", caption.c_str()); found != nullptr;
         found = FindWindowExW(nullptr, found, L"#32770", caption.c_str())) {
        DWORD process = 0;
        GetWindowThreadProcessId(found, &process);
        if (process == GetCurrentProcessId())
            return found;
    }
    return nullptr;
}

// Paints the window and its children now, on the dialog's thread, so pixels can be read.
inline void PaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle(window);
}

}  // namespace win32_test
