// The program on Windows: the real services, the native window host, and the application object's
// start-up. <windows.h> stays out: its names clash with the program's own Win32-shaped ones, so the
// entry point is declared here with plain types (the instance handles are pointers; a C name carries
// no parameter types).
#include "app/CorvaneApp.h"
#include "main/windows/WindowsPlatform.h"

extern "C" int __stdcall WinMain(void* /*instance*/, void* /*previous*/, char* /*commandLine*/,
                                 int /*showCommand*/) {
    platform_windows::WindowsPlatform platform;
    app::CCorvaneApp corvane(platform.Services());
    // InitInstance runs the main dialog and returns false: the program ends without a loop of its own.
    corvane.InitInstance();
    return 0;
}
