#pragma once
// Taking newly written settings into use: the DHCP client is told the adapter's new address and mask.

#include <cstdint>
#include <string_view>

#include "adapters/AdapterServices.h"
#include "adapters/Ipv4Settings.h"

namespace adapters {

// The adapter name the DHCP client is given: the instance id as UTF-16 in a buffer of 256 units, NUL
// included (a longer name is cut, still terminated).
constexpr std::size_t kAdapterNameUnits = 256;

// Loads "dhcpcsvc" for this one call and calls DhcpNotifyConfigChange. True only when the call was made
// and returned 0; each failure shows its own application message. The library is released on every path.
bool NotifyDhcpClient(const AdapterServices& services, std::string_view instanceId, std::uint32_t index,
                      std::string_view ipAddress, std::string_view subnetMask);

// Writes the five addresses, then notifies with the address and mask. True only when both succeeded; a
// failed write makes no notification.
bool ApplyAdapterSettings(const AdapterServices& services, std::string_view instanceId, std::uint32_t index,
                          const Ipv4Settings& settings);

}  // namespace adapters
