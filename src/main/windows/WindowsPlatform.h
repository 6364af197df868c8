#pragma once
// The real services of the program on Windows, with the native window host, built once and handed to
// the application object: the system's own APIs behind each of the program's interfaces.

#include "app/Platform.h"
#include "main/windows/WindowsServices.h"
#include "platform/inet/windows/WinInet.h"
#include "platform/win32/Win32WindowHost.h"

namespace platform_windows {

// Create it on the thread that runs the dialogs.
class WindowsPlatform {
  public:
    WindowsPlatform();
    WindowsPlatform(const WindowsPlatform&) = delete;
    WindowsPlatform& operator=(const WindowsPlatform&) = delete;

    app::Platform& Services() { return platform_; }

  private:
    win32::Win32WindowHost windowHost_;
    WindowsServices services_;
    WinInet inet_;
    app::Platform platform_;
};

// The native window behind a program window of the Win32 host; null for none.
void* NativeWindowOf(win::HWND window);

}  // namespace platform_windows
