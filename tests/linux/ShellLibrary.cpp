#include "ShellLibrary.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <ctime>

long long NowMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// The pipes are close-on-exec here, so no other child of the test keeps the holder's standard input open.
Child SpawnShellLibrary(const std::string& script, const std::vector<std::string>& call) {
    std::vector<std::string> argv = {"bash", "-c", "source \"$0\" && \"$@\"", script};
    argv.insert(argv.end(), call.begin(), call.end());
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (std::string& arg : argv)
        args.push_back(arg.data());
    args.push_back(nullptr);

    std::array<int, 2> in{-1, -1};
    std::array<int, 2> out{-1, -1};
    if (::pipe2(in.data(), O_CLOEXEC) != 0)
        return {};
    if (::pipe2(out.data(), O_CLOEXEC) != 0) {
        ::close(in[0]);
        ::close(in[1]);
        return {};
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    Child child;
    const int failed = ::posix_spawn(&child.pid, "/bin/bash", &actions, nullptr, args.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    if (failed != 0) {
        ::close(in[1]);
        ::close(out[0]);
        errno = failed;
        return {};
    }
    child.input = in[1];
    child.output = out[0];
    return child;
}

bool ReadOutput(int fd, std::string& text, const std::string& until, long long deadline) {
    std::array<char, 4096> buffer{};
    for (;;) {
        if (!until.empty()) {
            const std::size_t at = text.rfind(until);
            if (at != std::string::npos && (at == 0 || text[at - 1] == '\n') &&
                text.find('\n', at) != std::string::npos)
                return true;
        }
        const long long left = deadline - NowMs();
        if (left <= 0)
            return false;
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return false;
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;
        text.append(buffer.data(), static_cast<std::size_t>(n));
    }
}

int WaitFor(pid_t pid, long long deadline) {
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0 && errno != EINTR)
            return -1;
        if (NowMs() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        ::usleep(10000);
    }
}

// A child of ours resolves /proc/self to itself; the caller means its own thread.
std::string ForTheCallingThread(const std::string& path) {
    for (const std::string self : {"/proc/self/", "/proc/thread-self/"}) {
        if (path.rfind(self, 0) != 0)
            continue;
        std::array<char, 64> target{};
        const std::string link = self.substr(0, self.size() - 1);
        if (::readlink(link.c_str(), target.data(), target.size() - 1) <= 0)
            return path;
        return "/proc/" + std::string(target.data()) + "/" + path.substr(self.size());
    }
    return path;
}
