#pragma once
// A link NetworkManager manages in this network namespace, and a switch of its IPv4 settings through it:
// the connection it has applied gets the settings on disk (so they hold across restarts, as the
// program's registry values do) and then is reapplied to the running device, which keeps the link up.
// A link it does not manage is left to the rtnetlink switch: nothing of this is used for it.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/networkmanager/linux/NmBus.h"
#include "platform/networkmanager/linux/NmSettings.h"

namespace networkmanager {

enum class NmResult {
    kSwitched,
    kAccessDenied,  // NetworkManager does not let the caller change the connection
    kRefused,       // it refused the change (connection not writable, gone, reapply refused, ...)
    kNotInEffect,   // it took the change, but the kernel did not come to hold the address
};

// Called before each method the switch calls ("Update2", "Reapply", "ActivateConnection"); a non-empty
// D-Bus error name makes that call fail with it instead of reaching NetworkManager.
using CallFault = std::function<std::string(const std::string& method)>;

class NmLink {
  public:
    // Null unless NetworkManager serves this namespace, and has the link activated with a connection.
    static std::unique_ptr<NmLink> Find(const std::string& interfaceName);

    // Whole or not at all: after a failure the connection's settings are put back as they were, on disk
    // and on the device. The error NetworkManager gave, if any, is in LastError().
    NmResult Switch(const Ipv4Switch& change, const CallFault& fault = {});
    const BusError& LastError() const { return lastError_; }
    const std::string& ConnectionId() const { return connectionId_; }

  private:
    NmLink(std::unique_ptr<NmBus> bus, std::string interfaceName)
        : bus_(std::move(bus)), interfaceName_(std::move(interfaceName)) {}
    bool Resolve();
    Message Call(DBusMessage* call, const std::string& method, const CallFault& fault);
    bool Update(DBusMessage* settings, const Ipv4Switch* change, const CallFault& fault);
    bool Reapply(std::uint64_t versionId, const CallFault& fault);
    bool Reactivate(const CallFault& fault);
    bool KernelHolds(const NmAddress& wanted) const;
    void Restore(DBusMessage* previous, bool reapplied);
    NmResult Failure() const;

    std::unique_ptr<NmBus> bus_;
    std::string interfaceName_;
    std::string devicePath_;
    std::string connectionPath_;
    std::string connectionId_;
    std::uint64_t versionId_ = 0;
    BusError lastError_;
};

}  // namespace networkmanager
