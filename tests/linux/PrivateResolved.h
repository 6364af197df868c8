#pragma once
// A systemd-resolved for one test: it serves the test's network namespace and is reachable only on a
// private system bus, so what the program tells the resolver can be read back without the host's daemons
// ever being reached. tests/lib/private-resolved.sh does the work; a bash process of ours holds both
// daemons and stops them when we close its standard input, which also happens when the test process dies.

#include <sys/types.h>

#include <string>
#include <vector>

class PrivateResolved {
  public:
    // netns names the namespace the daemon serves; /proc/self and /proc/thread-self are taken as the
    // calling thread's, not the shell's. stateDir gets the bus socket and the daemons' logs.
    PrivateResolved(const std::string& netns, std::string stateDir);
    ~PrivateResolved();
    PrivateResolved(const PrivateResolved&) = delete;
    PrivateResolved& operator=(const PrivateResolved&) = delete;

    // Starts the bus and the daemon and waits until the daemon owns its name. On false, SkipReason()
    // tells a missing precondition (not root, the daemon not fetched, no namespace), or else Error()
    // tells what failed.
    bool Up();
    const std::string& SkipReason() const { return skipReason_; }
    const std::string& Error() const { return error_; }

    // "unix:path=...", for DBUS_SYSTEM_BUS_ADDRESS.
    const std::string& BusAddress() const { return busAddress_; }
    // The DNS servers the daemon holds for the link, as text ("192.0.2.53"); empty when it holds none,
    // and empty with Error() set when it could not be asked.
    std::vector<std::string> LinkDns(const std::string& ifname);
    // busctl on the private bus with these arguments: its output, errors included; false when it failed.
    bool Busctl(const std::vector<std::string>& arguments, std::string& output) const;

    // Stops both daemons and waits for them; false, with Error(), when that did not go cleanly. The
    // destructor does it too.
    bool Down();

  private:
    bool RunLibrary(const std::vector<std::string>& call, std::string& output) const;

    std::string netns_;
    std::string stateDir_;
    std::string busAddress_;
    std::string skipReason_;
    std::string error_;
    pid_t holder_ = -1;
    int toHolder_ = -1;
    int fromHolder_ = -1;
};
