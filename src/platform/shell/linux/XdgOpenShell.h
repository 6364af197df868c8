#pragma once
// ShellExecute on a Linux desktop: xdg-open hands a web address, a mailto: address or a file to the
// desktop's default program. It is started directly (no shell reads the target) and waited for briefly:
// its exit status decides success when it exits within half a second; one still running then has started
// a viewer and counts as success, and is reaped whenever it ends. ShellExecute never blocks for longer.

#include "platform/shell/Shell.h"

namespace platform_linux {

// ShellExecute's results for the cases xdg-open distinguishes.
constexpr std::intptr_t kShellSuccess = 42;  // any value above 32 means success
constexpr std::intptr_t kShellFileNotFound = 2;
constexpr std::intptr_t kShellNoAssociation = 31;  // SE_ERR_NOASSOC
constexpr std::intptr_t kShellAccessDenied = 5;

// The ShellExecute result for xdg-open's exit status: 0 success, 2 a file that does not exist, 3 no
// program to open it with; anything else is a failed action.
std::intptr_t ShellResultForExitStatus(int exitStatus);

class XdgOpenShell : public win::Shell {
  public:
    std::intptr_t ShellExecute(win::HWND owner, std::string_view verb, std::string_view file,
                               std::string_view parameters, std::string_view directory,
                               int showCommand) override;
};

}  // namespace platform_linux
