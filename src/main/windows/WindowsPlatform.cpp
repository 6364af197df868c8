#include "main/windows/WindowsPlatform.h"

#include "platform/win32/Win32Window.h"

namespace platform_windows {

WindowsPlatform::WindowsPlatform()
    : platform_{windowHost_,
                services_.system,
                services_.files,
                services_.registry,
                services_.shell,
                services_.libraries,
                inet_} {
    // The shell's boxes (a link that cannot be opened) belong to the dialog that asked for them.
    services_.shell = WindowsShell(NativeWindowOf);
}

void* NativeWindowOf(win::HWND window) {
    // Every program window of this host is one of its Win32Window objects.
    return window == nullptr ? nullptr : static_cast<win32::Win32Window*>(window)->Native();
}

}  // namespace platform_windows
