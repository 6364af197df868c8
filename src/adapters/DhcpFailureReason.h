#pragma once
// What a failed DHCP client notification means to the user: a line that follows the failure message and
// names what to put right.

#include <cstdint>
#include <string>

namespace adapters {

// GBK text for a non-zero status of DhcpNotifyConfigChange.
std::string DhcpFailureReason(std::uint32_t status);

}  // namespace adapters
