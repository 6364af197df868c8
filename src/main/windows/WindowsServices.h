#pragma once
// The real non-window services of the program on Windows, built once and handed, with the window host,
// to the application object. Every one is the system's own API behind the program's interface.
// The update check's WinINet and the window host join them in WindowsPlatform.

#include "platform/dhcp/windows/WindowsDynamicLibraries.h"
#include "platform/file/windows/WindowsFileSystem.h"
#include "platform/registry/windows/WindowsRegistry.h"
#include "platform/shell/windows/WindowsShell.h"
#include "platform/system/windows/WindowsSystem.h"

namespace platform_windows {

struct WindowsServices {
    WindowsSystem system;
    WindowsFileSystem files;
    WindowsRegistry registry;
    // Assign one made with the window host's mapping from program windows to native ones, so the
    // shell's boxes have an owner.
    WindowsShell shell;
    WindowsDynamicLibraries libraries;
};

}  // namespace platform_windows
