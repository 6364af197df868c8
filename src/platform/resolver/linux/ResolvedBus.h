#pragma once
// systemd-resolved's per-link DNS servers, over the D-Bus system bus (DBUS_SYSTEM_BUS_ADDRESS, else
// the standard socket). The bus is a file, reachable from every network namespace that shares the file
// system: a program started with "ip netns exec" would find the host's resolver there, and interface
// indexes of two namespaces can coincide. So the resolver is used only when it runs in the caller's own
// network namespace.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct DBusConnection;

namespace platform_linux {

class ResolvedBus {
  public:
    // Null when there is no bus, no resolver on it, or the resolver serves another network namespace.
    static std::unique_ptr<ResolvedBus> ServingThisNamespace();
    ~ResolvedBus();
    ResolvedBus(const ResolvedBus&) = delete;
    ResolvedBus& operator=(const ResolvedBus&) = delete;

    // The link's IPv4 servers in dotted form, in order. 0 or an errno value.
    int LinkDns(int ifIndex, std::vector<std::string>& servers);
    // Replaces the link's servers (SetLinkDNS). 0, or EACCES when the caller may not, ENODEV when the
    // resolver knows no such link, EINVAL for a server that is not an IPv4 address, EIO otherwise.
    int SetLinkDns(int ifIndex, const std::vector<std::string>& servers);

  private:
    explicit ResolvedBus(DBusConnection* connection) : connection_(connection) {}
    DBusConnection* connection_;
};

}  // namespace platform_linux
