#include "platform/shell/windows/WindowsShell.h"

#include "platform/shell/windows/ShellCalls.h"
#include "platform/text/Gbk.h"

namespace platform_windows {

WindowsShell::WindowsShell(NativeWindowOf nativeWindowOf) : nativeWindowOf_(std::move(nativeWindowOf)) {}

std::intptr_t WindowsShell::ShellExecute(win::HWND owner, std::string_view verb, std::string_view file,
                                         std::string_view parameters, std::string_view directory,
                                         int showCommand) {
    void* nativeOwner = owner != nullptr && nativeWindowOf_ ? nativeWindowOf_(owner) : nullptr;
    return calls::ShellExecuteWide(nativeOwner, text::GbkToUtf16(verb), text::GbkToUtf16(file),
                                   text::GbkToUtf16(parameters), text::GbkToUtf16(directory), showCommand);
}

}  // namespace platform_windows
