#include "platform/shell/linux/XdgOpenShell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>

#include "platform/text/Gbk.h"

extern char** environ;

namespace platform_linux {

std::intptr_t ShellResultForExitStatus(int exitStatus) {
    switch (exitStatus) {
        case 0:
            return kShellSuccess;
        case 2:
            return kShellFileNotFound;
        case 3:
            return kShellNoAssociation;
        default:
            return kShellAccessDenied;
    }
}

std::intptr_t XdgOpenShell::ShellExecute(win::HWND, std::string_view verb, std::string_view file,
                                         std::string_view parameters, std::string_view directory, int) {
    // Only "open" (and the default verb) has a desktop counterpart; xdg-open takes no arguments for the
    // program it starts, and a file name is looked up in the current directory.
    if (!verb.empty() && verb != "open")
        return kShellNoAssociation;
    if (!parameters.empty() || !directory.empty() || file.empty())
        return kShellNoAssociation;

    std::string program = "xdg-open";
    std::string target = text::GbkToUtf8(file);
    // A target that looks like an option would be read as one.
    if (target.front() == '-')
        target = "./" + target;
    char* argv[] = {program.data(), target.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return kShellFileNotFound;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return kShellAccessDenied;
    }
    if (!WIFEXITED(status))
        return kShellAccessDenied;
    return ShellResultForExitStatus(WEXITSTATUS(status));
}

}  // namespace platform_linux
