#include "PrivateResolved.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

extern char** environ;

namespace {

// tests/lib/private-resolved.sh returns this when a precondition is missing rather than broken.
constexpr int kPreconditionMissing = 2;
// Start and stop take well under a second; this only keeps a hung daemon from hanging the test.
constexpr long long kPatienceMs = 20000;
const std::string kAddressLine = "DBUS_SYSTEM_BUS_ADDRESS=";

long long NowMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

struct Child {
    pid_t pid = -1;
    int input = -1;   // its standard input
    int output = -1;  // its standard output and error
};

// Runs bash with the library sourced and "call" as its command. The pipes are close-on-exec here, so
// no other child of the test keeps the holder's standard input open.
Child SpawnLibrary(const std::vector<std::string>& call) {
    std::vector<std::string> argv = {"bash", "-c", "source \"$0\" && \"$@\"", OSTRELLE_PRIVATE_RESOLVED_SH};
    argv.insert(argv.end(), call.begin(), call.end());
    std::vector<char*> args;
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

// Reads until the end of the output, or until "text" holds a whole line starting with "until"; false when
// the deadline passed first.
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

// The child's exit status, or -1 when it did not exit by the deadline (it is killed then) or was killed.
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

}  // namespace

PrivateResolved::PrivateResolved(const std::string& netns, std::string stateDir)
    : netns_(ForTheCallingThread(netns)), stateDir_(std::move(stateDir)) {}

PrivateResolved::~PrivateResolved() {
    Down();
}

bool PrivateResolved::Up() {
    if (holder_ >= 0)
        return true;
    const Child child = SpawnLibrary({"private_resolved_hold", netns_, stateDir_});
    if (child.pid < 0) {
        error_ = std::string("cannot start bash: ") + std::strerror(errno);
        return false;
    }
    holder_ = child.pid;
    toHolder_ = child.input;
    fromHolder_ = child.output;

    std::string output;
    if (ReadOutput(fromHolder_, output, kAddressLine, NowMs() + kPatienceMs)) {
        const std::size_t at = output.rfind(kAddressLine);
        if (at != std::string::npos && (at == 0 || output[at - 1] == '\n')) {
            const std::size_t start = at + kAddressLine.size();
            busAddress_ = output.substr(start, output.find('\n', start) - start);
            return true;
        }
    }
    ::close(toHolder_);
    ::close(fromHolder_);
    const int status = WaitFor(holder_, NowMs() + kPatienceMs);
    holder_ = toHolder_ = fromHolder_ = -1;
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    if (status == kPreconditionMissing)
        skipReason_ = output;
    else
        error_ = output.empty() ? "private-resolved: exit status " + std::to_string(status) : output;
    return false;
}

bool PrivateResolved::Down() {
    if (holder_ < 0)
        return true;
    const auto deadline = NowMs() + kPatienceMs;
    ::close(toHolder_);
    std::string output;
    ReadOutput(fromHolder_, output, "", deadline);
    ::close(fromHolder_);
    const int status = WaitFor(holder_, deadline);
    holder_ = toHolder_ = fromHolder_ = -1;
    busAddress_.clear();
    if (status == 0)
        return true;
    error_ = "stopping: exit status " + std::to_string(status) + " " + output;
    return false;
}

bool PrivateResolved::RunLibrary(const std::vector<std::string>& call, std::string& output) const {
    const Child child = SpawnLibrary(call);
    if (child.pid < 0) {
        output = std::string("cannot start bash: ") + std::strerror(errno);
        return false;
    }
    ::close(child.input);
    const auto deadline = NowMs() + kPatienceMs;
    ReadOutput(child.output, output, "", deadline);
    ::close(child.output);
    return WaitFor(child.pid, deadline) == 0;
}

std::vector<std::string> PrivateResolved::LinkDns(const std::string& ifname) {
    std::string output;
    if (!RunLibrary({"private_resolved_link_dns", stateDir_, ifname}, output)) {
        error_ = "reading the DNS servers of " + ifname + ": " + output;
        return {};
    }
    std::vector<std::string> servers;
    std::size_t start = 0;
    for (std::size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1)
        servers.push_back(output.substr(start, end - start));
    return servers;
}

bool PrivateResolved::Busctl(const std::vector<std::string>& arguments, std::string& output) const {
    std::vector<std::string> call = {"private_resolved_busctl", stateDir_};
    call.insert(call.end(), arguments.begin(), arguments.end());
    return RunLibrary(call, output);
}
