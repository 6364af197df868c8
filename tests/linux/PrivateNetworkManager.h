#pragma once
// A NetworkManager for one test: it serves the test's network namespace and is reachable only on a
// private system bus. tests/lib/private-networkmanager.sh does the work; a bash process of ours holds the
// bus and the daemon, restarts the daemon when asked, and stops both when we close its standard input,
// which also happens when the test process dies.

#include <sys/types.h>

#include <string>
#include <vector>

class PrivateNetworkManager {
  public:
    // netns names the namespace the daemon serves (/proc/thread-self/... is the calling thread's);
    // stateDir gets the bus socket, the logs and the keyfile connections (stateDir/connections, which may
    // be filled before Up); unmanaged lists the interfaces the daemon leaves alone, comma-separated.
    PrivateNetworkManager(const std::string& netns, std::string stateDir, std::string unmanaged);
    ~PrivateNetworkManager();
    PrivateNetworkManager(const PrivateNetworkManager&) = delete;
    PrivateNetworkManager& operator=(const PrivateNetworkManager&) = delete;

    // Starts the bus and the daemon and waits until the daemon owns its name. On false, SkipReason()
    // tells a missing precondition, or else Error() what failed.
    bool Up();
    const std::string& SkipReason() const { return skipReason_; }
    const std::string& Error() const { return error_; }
    // "unix:path=...", for DBUS_SYSTEM_BUS_ADDRESS.
    const std::string& BusAddress() const { return busAddress_; }

    // Stops the daemon and starts it again; the bus stays.
    bool Restart();
    // Waits until the daemon has the interface activated; false after a few seconds.
    bool WaitActivated(const std::string& ifname);
    // nmcli on the private bus: its output, errors included.
    std::string Cli(const std::vector<std::string>& arguments) const;
    // The daemon's process, for entering its mount namespace.
    pid_t DaemonPid() const;

    bool Down();

  private:
    std::string netns_;
    std::string stateDir_;
    std::string unmanaged_;
    std::string busAddress_;
    std::string skipReason_;
    std::string error_;
    pid_t holder_ = -1;
    int toHolder_ = -1;
    int fromHolder_ = -1;
};
