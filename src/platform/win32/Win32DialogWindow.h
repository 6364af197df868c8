#pragma once
// The dialog's window: its controls' windows, the modal result and messages sent to it from any
// thread. Its messages always reach its CDialog, attached yet or not.

#include <map>
#include <memory>

#include "Win32Window.h"
#include "platform/window/CDialog.h"

namespace win32 {

class Win32DialogWindow final : public Win32Window {
  public:
    Win32DialogWindow(Win32WindowHost& host, NativeWindow native, win::CDialog& dialog);
    ~Win32DialogWindow() override;
    Win32DialogWindow(const Win32DialogWindow&) = delete;
    Win32DialogWindow& operator=(const Win32DialogWindow&) = delete;

    win::Window* GetDlgItem(int controlId) const override;
    bool IsIconic() const override;
    void SetIcon(win::HICON icon, bool bigIcon) override;
    bool HasSystemMenu() const override;
    void AppendSystemMenuSeparator() override;
    void AppendSystemMenuItem(win::UINT commandId, std::string_view gbkText) override;
    void EndDialog(int result) override;
    win::LRESULT SendMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;

    // The backend's side.
    win::CDialog& Dialog() const { return dialog_; }
    // The control windows of the template's named controls, each subclassed so its mouse messages
    // reach its handler object.
    void AdoptControls(const win::DialogTemplate& dialogTemplate);
    // Destruction of the native dialog: handler objects forget the windows, procedures go back.
    void ReleaseWindows();
    bool Ended() const { return ended_; }

  protected:
    bool HasHandler() const override { return true; }

  private:
    win::CDialog& dialog_;
    std::map<int, std::unique_ptr<Win32Window>> controls_;
    bool ended_ = false;
};

}  // namespace win32
