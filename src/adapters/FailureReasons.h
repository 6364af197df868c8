#pragma once
// What a failure of the adapter store means to the user: a line that follows the failure message and
// names what to put right, so that the switch's general message after it ("adjust according to the
// error reported before") has something to point at.

#include <cstdint>
#include <string>

#include "platform/registry/Registry.h"

namespace adapters {

// GBK text for a non-zero status of DhcpNotifyConfigChange.
std::string DhcpFailureReason(std::uint32_t status);

// GBK text for the error of opening an adapter's TCP/IP key for writing; empty when there is nothing
// more to say than that it failed.
std::string RegistryFailureReason(win::LONG error);

}  // namespace adapters
