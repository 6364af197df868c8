#pragma once
// The resolver of the caller's network namespace, as an adapter's DNS servers reach it: systemd-resolved's
// servers for the link where that resolver serves this namespace, else the nameserver lines of
// resolv.conf, which hold for every link.

#include <functional>
#include <string>
#include <vector>

#include "platform/resolver/linux/ResolvConfServers.h"

namespace platform_linux {

class SystemResolver {
  public:
    explicit SystemResolver(std::string resolvConfPath) : resolvConfPath_(std::move(resolvConfPath)) {}

    // The IPv4 servers in effect for the interface, in order. 0 or an errno value.
    int NameServers(int ifIndex, std::vector<std::string>& servers) const;
    // Makes servers, in order, the interface's DNS servers. On success undo is set to what puts the
    // previous servers back. 0 or an errno value; nothing changed on failure.
    int SetNameServers(int ifIndex, const std::vector<std::string>& servers,
                       std::function<int()>& undo) const;

  private:
    std::string resolvConfPath_;
    // Kept from one question to the next: a resolver that lives long answers a walk over many
    // adapters with one stat of the file each.
    mutable ResolvConfServers resolvConfServers_;
};

}  // namespace platform_linux
