#pragma once
// One window of a dialog built by the Win32 host, the dialog or one of its controls: the HWND the
// program holds, over the native window. Calls of every kind become the messages Windows answers
// them with, so a call on a window of another kind answers that window's failure value, as there.
// The native handling of the message in flight is the window's original procedure (CWnd::Default).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/window/Window.h"

struct HWND__;

namespace win32 {

using NativeWindow = HWND__*;

class Win32WindowHost;

class Win32Window : public win::Window {
  public:
    Win32Window(Win32WindowHost& host, NativeWindow native);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    int GetDlgCtrlID() const override;
    std::string GetWindowText() const override;
    void SetWindowText(std::string_view gbkText) override;
    void ShowWindow(int showCommand) override;
    bool IsWindowVisible() const override;
    win::DWORD GetStyle() const override;
    void SetStyle(win::DWORD style) override;
    win::Rect GetClientRect() const override;
    void Invalidate(bool erase) override;
    void RedrawWindow(win::UINT flags) override;
    void SetCapture() override;
    void ReleaseCapture() override;
    bool HasCapture() const override;
    win::LogFont GetFont() const override;
    void DefWindowProc() override;
    void SetHandlerObject(win::CWnd* object) override { handler_ = object; }
    win::CWnd* GetHandlerObject() const override { return handler_; }

    int GetCheck() const override;
    void SetCheck(int state) override;
    void SetButtonIcon(win::HICON icon) override;
    void LimitText(int maxChars) override;
    void SetAddress(win::DWORD address) override;
    void ClearAddress() override;

    // The backend's side.
    NativeWindow Native() const { return native_; }
    Win32WindowHost& Host() const { return host_; }
    // Runs a message: the handler object's handler when one is attached, else the native handling;
    // a handler that calls Default() runs the native handling at that point, once. Answers what the
    // native handling answered, or 0 when it did not run.
    std::intptr_t Dispatch(const std::function<void()>& handlerCall,
                           const std::function<std::intptr_t()>& nativeHandling);
    // The window the native one belongs to; null for a window the host did not make.
    static Win32Window* FromNative(NativeWindow native);
    // The window procedure the window had before the host subclassed it: its native handling.
    void SetOriginalProcedure(std::intptr_t procedure) { originalProcedure_ = procedure; }
    std::intptr_t OriginalProcedure() const { return originalProcedure_; }

  protected:
    virtual bool HasHandler() const { return handler_ != nullptr; }

  private:
    struct NativeCall {
        const std::function<std::intptr_t()>* handling;
        bool done = false;
        std::intptr_t result = 0;
    };

    Win32WindowHost& host_;
    NativeWindow native_;
    win::CWnd* handler_ = nullptr;
    std::intptr_t originalProcedure_ = 0;
    std::vector<NativeCall> nativeCalls_;
};

}  // namespace win32
