#include "PrivateResolved.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "ShellLibrary.h"

namespace {

// tests/lib/private-resolved.sh returns this when a precondition is missing rather than broken.
constexpr int kPreconditionMissing = 2;
// Start and stop take well under a second; this only keeps a hung daemon from hanging the test.
constexpr long long kPatienceMs = 20000;
const std::string kAddressLine = "DBUS_SYSTEM_BUS_ADDRESS=";

Child SpawnLibrary(const std::vector<std::string>& call) {
    return SpawnShellLibrary(OSTRELLE_PRIVATE_RESOLVED_SH, call);
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
