#pragma once
// NetworkManager over the D-Bus system bus, with libdbus: the library the resolver already speaks to its
// daemon with, small and kept by the bus's own authors, and one that keeps no main loop or object cache
// of its own inside a library the program loads for each switch. NetworkManager is used only when it
// runs in the caller's own network namespace (SystemBus.h).

#include <cstdint>
#include <memory>
#include <string>

#include "platform/dbus/linux/SystemBus.h"

namespace networkmanager {

using Message = platform_linux::DbusMessage;

// A D-Bus error reply: its name ("org.freedesktop.NetworkManager.PermissionDenied") and text.
struct BusError {
    std::string name;
    std::string text;
    bool Failed() const { return !name.empty(); }
};

class NmBus {
  public:
    static constexpr const char* kService = "org.freedesktop.NetworkManager";

    // Null when there is no bus, no NetworkManager on it, or it serves another network namespace.
    static std::unique_ptr<NmBus> ServingThisNamespace();
    ~NmBus();
    NmBus(const NmBus&) = delete;
    NmBus& operator=(const NmBus&) = delete;

    // A method call to NetworkManager; the caller appends the arguments.
    static Message NewCall(const std::string& path, const char* interface, const char* method);
    // Sends it and waits for the reply; null with error set when there is none.
    Message Call(DBusMessage* call, BusError& error, int timeoutMs = kReplyTimeoutMs);
    // A property of type u ("State"); false when it cannot be read.
    bool GetUint32(const std::string& path, const char* interface, const char* property,
                   std::uint32_t& value);

  private:
    // NetworkManager answers within tens of milliseconds; one that does not counts as failed rather
    // than freezing the switch.
    static constexpr int kReplyTimeoutMs = 5000;

    explicit NmBus(DBusConnection* connection) : connection_(connection) {}
    DBusConnection* connection_;
};

}  // namespace networkmanager
