#pragma once
// ShellExecute on Windows: the shell's own, through its wide form so GBK texts mean the same whatever
// the system's ANSI code page is.

#include <functional>

#include "platform/shell/Shell.h"

namespace platform_windows {

class WindowsShell : public win::Shell {
  public:
    // The native window a program window stands for, as owner of any box the shell shows; without one
    // the shell's boxes have no owner.
    using NativeWindowOf = std::function<void*(win::HWND)>;
    explicit WindowsShell(NativeWindowOf nativeWindowOf = {});

    std::intptr_t ShellExecute(win::HWND owner, std::string_view verb, std::string_view file,
                               std::string_view parameters, std::string_view directory,
                               int showCommand) override;

  private:
    NativeWindowOf nativeWindowOf_;
};

}  // namespace platform_windows
