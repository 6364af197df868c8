#include "platform/dhcp/windows/WindowsDynamicLibraries.h"

#include <string>

#include "platform/dhcp/windows/LibraryCalls.h"
#include "platform/text/Gbk.h"

namespace platform_windows {

// The program's HMODULE is opaque to it: it stands for the system's module handle itself.
win::HMODULE WindowsDynamicLibraries::LoadLibrary(std::string_view name) {
    return static_cast<win::HMODULE>(calls::LoadLibraryWide(text::GbkToUtf16(name)));
}

win::FARPROC WindowsDynamicLibraries::GetProcAddress(win::HMODULE module, std::string_view procName) {
    if (module == nullptr)
        return nullptr;
    return calls::FindProc(module, std::string(procName));
}

bool WindowsDynamicLibraries::FreeLibrary(win::HMODULE module) {
    return module != nullptr && calls::ReleaseLibrary(module);
}

}  // namespace platform_windows
