#pragma once
// LoadLibraryW, GetProcAddress and FreeLibrary with plain types: <windows.h> stays in its own file (its
// LoadLibrary macro and HMODULE type clash with the program's names).

#include <string>

namespace platform_windows::calls {

using ProcAddress = void (*)();

void* LoadLibraryWide(const std::u16string& name);  // null on failure
ProcAddress FindProc(void* module, const std::string& procName);
bool ReleaseLibrary(void* module);

}  // namespace platform_windows::calls
