#include "platform/dhcp/windows/LibraryCalls.h"

#include <windows.h>

namespace platform_windows::calls {

void* LoadLibraryWide(const std::u16string& name) {
    return LoadLibraryW(reinterpret_cast<const wchar_t*>(name.c_str()));
}

ProcAddress FindProc(void* module, const std::string& procName) {
    // GetProcAddress gives a generic function pointer; the caller casts it to the function's real type.
    return reinterpret_cast<ProcAddress>(GetProcAddress(static_cast<HMODULE>(module), procName.c_str()));
}

bool ReleaseLibrary(void* module) {
    return FreeLibrary(static_cast<HMODULE>(module)) != 0;
}

}  // namespace platform_windows::calls
