#pragma once
// What our DhcpNotifyConfigChange does: puts a new static IPv4 address and mask on an interface in place
// of the address at an index, and makes the program's pending gateway the interface's default route.

#include <cstdint>
#include <optional>
#include <string>

namespace platform_linux {

struct StaticAddressChange {
    std::string interfaceName;
    std::uint32_t index = 0;
    std::uint32_t address = 0;  // network byte order
    std::uint32_t mask = 0;     // network byte order
    // The DefaultGateway the program wrote, if one is pending: "" removes the interface's default routes,
    // nullopt leaves them alone.
    std::optional<std::string> gateway;
};

// 0 when the change can be made, else the errno value it would fail with; looks at nothing outside
// the change itself (EINVAL: an address no host can have, a mask with holes or no bits, a gateway that
// is not an address or is the new address itself; ENETUNREACH: a gateway outside the new subnet).
int ValidateStaticAddressChange(const StaticAddressChange& change);

// Applies the change with rtnetlink. On failure returns an errno value and puts back what it had changed,
// so the interface keeps its old address and routes.
int ApplyStaticAddressChange(const StaticAddressChange& change);

}  // namespace platform_linux
