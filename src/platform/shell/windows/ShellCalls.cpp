#include "platform/shell/windows/ShellCalls.h"

#include <windows.h>

#include <shellapi.h>

namespace platform_windows::calls {
namespace {

const wchar_t* OrNull(const std::u16string& text) {
    return text.empty() ? nullptr : reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

std::intptr_t ShellExecuteWide(void* owner, const std::u16string& verb, const std::u16string& file,
                               const std::u16string& parameters, const std::u16string& directory,
                               int showCommand) {
    // The result is an HINSTANCE only in name: a number, above 32 on success.
    return reinterpret_cast<std::intptr_t>(ShellExecuteW(static_cast<HWND>(owner), OrNull(verb), OrNull(file),
                                                         OrNull(parameters), OrNull(directory), showCommand));
}

}  // namespace platform_windows::calls
