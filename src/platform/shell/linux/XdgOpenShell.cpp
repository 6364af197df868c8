#include "platform/shell/linux/XdgOpenShell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <future>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include "platform/text/Gbk.h"

extern char** environ;

namespace platform_linux {

namespace {

// xdg-open answers at once when it hands the target to a desktop's opener, but in its generic mode it
// runs the viewer itself and only exits when the viewer is closed. Whatever it has not decided by then
// counts as opened.
constexpr std::chrono::milliseconds kExitWait{500};

// Blocks until the child ends and reaps it: its exit status, -1 when it ended without one (a signal).
// Waits for this pid only, so that no other child of the process is taken from whoever waits for it.
int ReapChild(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The child's exit status if it ends within the wait; nothing if it still runs. A thread of its own waits
// for the child, so it is reaped whenever it ends, also after this call returned; the thread holds nothing
// but the child's pid and the status it hands over, so the process may exit while it waits.
std::optional<int> ExitStatusWithin(pid_t child, std::chrono::milliseconds wait) {
    std::promise<int> exited;
    std::future<int> status = exited.get_future();
    try {
        std::thread([child](std::promise<int> result) { result.set_value(ReapChild(child)); },
                    std::move(exited))
            .detach();
    } catch (const std::system_error&) {
        // No thread to leave behind: waiting for the child is slow, but leaves no zombie.
        return ReapChild(child);
    }
    if (status.wait_for(wait) == std::future_status::timeout)
        return std::nullopt;
    return status.get();
}

}  // namespace

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
    // A session of its own: a viewer left running is not ended with the terminal the program was
    // started from.
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, program.c_str(), nullptr, &attributes, argv, environ);
    ::posix_spawnattr_destroy(&attributes);
    if (spawned != 0)
        return kShellFileNotFound;
    const std::optional<int> exitStatus = ExitStatusWithin(child, kExitWait);
    return exitStatus ? ShellResultForExitStatus(*exitStatus) : kShellSuccess;
}

}  // namespace platform_linux
