#pragma once
// ShellExecuteW with plain types: <windows.h> stays in its own file (its ShellExecute macro and the
// HWND type clash with the program's names).

#include <cstdint>
#include <string>

namespace platform_windows::calls {

// owner is a native window handle, or null. Empty texts are passed as null pointers, as ShellExecute
// takes "no parameters" and "the current folder".
std::intptr_t ShellExecuteWide(void* owner, const std::u16string& verb, const std::u16string& file,
                               const std::u16string& parameters, const std::u16string& directory,
                               int showCommand);

}  // namespace platform_windows::calls
