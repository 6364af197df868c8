#pragma once
// The window host on native Win32: dialogs from the program's templates run with
// DialogBoxIndirectParam, message boxes are the system's, icons and the cursor come from the
// executable's resources. Create it on the thread that runs the dialogs; MessageBox and SendMessage may
// be called from any thread and then run on the dialog's thread while the caller waits.

#include <map>
#include <memory>
#include <mutex>

#include "Win32DeviceContext.h"
#include "platform/window/WindowHost.h"

struct HBRUSH__;
struct HWND__;

namespace win32 {

class Win32DialogWindow;

class Win32WindowHost final : public win::WindowHost {
  public:
    Win32WindowHost();
    ~Win32WindowHost() override;
    Win32WindowHost(const Win32WindowHost&) = delete;
    Win32WindowHost& operator=(const Win32WindowHost&) = delete;

    int RunModal(win::CDialog& dialog, const win::DialogTemplate& dialogTemplate, win::HWND owner) override;
    int MessageBox(win::HWND owner, std::string_view gbkText, std::string_view gbkCaption,
                   win::UINT type) override;
    win::LRESULT SendMessage(win::HWND window, win::UINT message, win::WPARAM wParam,
                             win::LPARAM lParam) override;
    win::HICON LoadIcon(int resourceId, int size) override;
    void DestroyIcon(win::HICON icon) override;
    win::HCURSOR LoadCursor(int resourceId) override;
    void SetCursor(win::HCURSOR cursor) override;
    int GetSystemMetrics(int index) const override;
    win::COLORREF GetSysColor(int index) const override;
    void OutputDebugString(std::string_view text) override;

    // The backend's side.
    FontCache& Fonts() { return fonts_; }
    // A brush of the colour, kept while the host lives, as a colour request's answer must outlive it.
    HBRUSH__* NativeBrush(const win::Brush& brush);
    void RememberDialog(Win32DialogWindow& dialog);
    void ForgetDialog(Win32DialogWindow& dialog);
    int LiveIconCount() const { return static_cast<int>(icons_.size()); }

  private:
    // The native window of a dialog that still exists; null for any other handle.
    HWND__* LiveDialog(win::HWND window) const;

    mutable std::mutex liveDialogsMutex_;
    std::map<win::HWND, HWND__*> liveDialogs_;
    std::map<win::HICON, std::unique_ptr<win::IconObject>> icons_;
    std::map<int, std::unique_ptr<win::CursorObject>> cursors_;
    std::map<win::COLORREF, HBRUSH__*> brushes_;
    FontCache fonts_;
};

}  // namespace win32
