#pragma once
// What the benchmarks share: a window host for a run without a screen, running a program, and the
// statistics they print.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

#include "platform/window/WindowHost.h"

namespace bench {

using Clock = std::chrono::steady_clock;

// A window host for a run without a screen: message boxes are counted, nothing else is used.
class SilentHost : public win::WindowHost {
  public:
    int RunModal(win::CDialog&, const win::DialogTemplate&, win::HWND) override { return 0; }
    int MessageBox(win::HWND, std::string_view, std::string_view, win::UINT) override {
        ++messages;
        return win::IDOK;
    }
    win::LRESULT SendMessage(win::HWND, win::UINT, win::WPARAM, win::LPARAM) override { return 0; }
    win::HICON LoadIcon(int, int) override { return nullptr; }
    void DestroyIcon(win::HICON) override {}
    win::HCURSOR LoadCursor(int) override { return nullptr; }
    void SetCursor(win::HCURSOR) override {}
    int GetSystemMetrics(int) const override { return 0; }
    win::COLORREF GetSysColor(int) const override { return 0; }
    void OutputDebugString(std::string_view) override {}
    int messages = 0;
};

// Runs a program found on PATH with the given arguments (the first names it), without a shell; its
// exit status. A quiet one's standard output goes nowhere.
inline int Run(std::vector<std::string> arguments, bool quiet = false) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (quiet)
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int failed = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        return -1;
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline double Microseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::micro>(duration).count();
}

// The CPU time the calling thread has used, the kernel's work for it included: a figure a busy machine
// changes far less than the time on the clock.
inline double ThreadCpuMicroseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

inline double Mean(const std::vector<double>& values) {
    double sum = 0;
    for (double value : values)
        sum += value;
    return values.empty() ? 0.0 : sum / static_cast<double>(values.size());
}

}  // namespace bench
