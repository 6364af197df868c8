#pragma once
// What our DhcpNotifyConfigChange does: puts a new static IPv4 address and mask on an interface in place
// of the address at an index, and makes the program's pending gateway the interface's default route.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/netlink/linux/Netlink.h"

namespace platform_linux {

struct StaticAddressChange {
    std::string interfaceName;
    std::uint32_t index = 0;
    std::uint32_t address = 0;  // network byte order
    std::uint32_t mask = 0;     // network byte order
    // The DefaultGateway the program wrote, if one is pending: "" and "0.0.0.0" (what a blank address
    // control reads as) remove the interface's default routes, nullopt leaves them alone. A gateway
    // outside the new subnet is taken as on the link, as Windows takes it.
    std::optional<std::string> gateway;
};

// What makes a change impossible, looking at nothing outside the change itself.
enum class ChangeFault {
    kNone,
    kAddress,  // no host can have it: 0.x, 127.x, multicast and above, the subnet's network or broadcast
    kMask,     // holes in it, or no bits
    kGateway,  // not an address, not a host's, the new address itself, the new subnet's network or
               // broadcast address, or an address this machine holds on another link
};
// otherLinksAddresses: the addresses the machine holds on its other links (network byte order).
ChangeFault FaultOf(const StaticAddressChange& change,
                    const std::vector<std::uint32_t>& otherLinksAddresses = {});
// The IPv4 addresses of every link but the named one; empty when the kernel cannot be asked.
std::vector<std::uint32_t> AddressesOfOtherLinks(netlink::Socket& socket, const std::string& interfaceName);

// Applies the change with rtnetlink and reads back that it took effect. On failure returns an errno value
// (EINVAL for a change with a fault, EIO for one the kernel acknowledged but does not hold) and puts the
// interface's addresses and routes back as they were. The socket is opened if it is not yet; a switch
// asks its other questions through the same one.
int ApplyStaticAddressChange(const StaticAddressChange& change, netlink::Socket& socket);
// The same through a socket of its own, whose fault sees each request before the kernel does.
int ApplyStaticAddressChange(const StaticAddressChange& change, const netlink::RequestFault& fault = {});

}  // namespace platform_linux
