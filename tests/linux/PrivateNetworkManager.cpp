#include "PrivateNetworkManager.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <utility>

#include "ShellLibrary.h"

namespace {

// tests/lib/private-networkmanager.sh returns this when a precondition is missing rather than broken.
constexpr int kPreconditionMissing = 2;
// Start, restart and stop take well under a second, activating a veth link about two.
constexpr long long kPatienceMs = 20000;
constexpr long long kActivationMs = 15000;
const std::string kAddressLine = "DBUS_SYSTEM_BUS_ADDRESS=";

Child SpawnLibrary(const std::vector<std::string>& call) {
    return SpawnShellLibrary(OSTRELLE_PRIVATE_NM_SH, call);
}

std::string LastLines(std::string output) {
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

}  // namespace

PrivateNetworkManager::PrivateNetworkManager(const std::string& netns, std::string stateDir,
                                             std::string unmanaged)
    : netns_(ForTheCallingThread(netns)), stateDir_(std::move(stateDir)), unmanaged_(std::move(unmanaged)) {}

PrivateNetworkManager::~PrivateNetworkManager() {
    Down();
}

bool PrivateNetworkManager::Up() {
    if (holder_ >= 0)
        return true;
    const Child child = SpawnLibrary({"private_nm_hold", netns_, stateDir_, unmanaged_});
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
    if (status == kPreconditionMissing)
        skipReason_ = LastLines(output);
    else
        error_ = output.empty() ? "private-networkmanager: exit status " + std::to_string(status)
                                : LastLines(output);
    return false;
}

bool PrivateNetworkManager::Restart() {
    if (holder_ < 0 || ::write(toHolder_, "restart\n", 8) != 8)
        return false;
    std::string output;
    ReadOutput(fromHolder_, output, "restart", NowMs() + kPatienceMs);
    if (output.find("restarted\n") != std::string::npos)
        return true;
    error_ = "restarting: " + output;
    return false;
}

bool PrivateNetworkManager::WaitActivated(const std::string& ifname) {
    for (const long long deadline = NowMs() + kActivationMs; NowMs() < deadline; ::usleep(50000)) {
        if (Cli({"-g", "GENERAL.STATE", "device", "show", ifname}).rfind("100 ", 0) == 0)
            return true;
    }
    error_ = ifname + " was not activated: " + Cli({"device"});
    return false;
}

std::string PrivateNetworkManager::Cli(const std::vector<std::string>& arguments) const {
    std::vector<std::string> call = {"private_nm_cli", stateDir_};
    call.insert(call.end(), arguments.begin(), arguments.end());
    const Child child = SpawnLibrary(call);
    if (child.pid < 0)
        return std::string("cannot start bash: ") + std::strerror(errno);
    ::close(child.input);
    const long long deadline = NowMs() + kPatienceMs;
    std::string output;
    ReadOutput(child.output, output, "", deadline);
    ::close(child.output);
    WaitFor(child.pid, deadline);
    return output;
}

pid_t PrivateNetworkManager::DaemonPid() const {
    pid_t pid = -1;
    std::ifstream(stateDir_ + "/nm.pid") >> pid;
    return pid;
}

bool PrivateNetworkManager::Down() {
    if (holder_ < 0)
        return true;
    const long long deadline = NowMs() + kPatienceMs;
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
