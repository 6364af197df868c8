#pragma once
// Finding the machine's Ethernet adapters in the network adapter class key.

#include "adapters/AdapterInfo.h"
#include "platform/registry/Registry.h"

namespace adapters {

// Appends one record per adapter whose lower binding range is exactly "ethernet", in the order the class
// key enumerates its subkeys, with each adapter's TCP/IP values read in. False only when the class key
// cannot be opened (nothing is appended then).
bool EnumerateAdapters(win::Registry& registry, AdapterList& list);

}  // namespace adapters
