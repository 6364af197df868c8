#pragma once
// One discovered network adapter: its names from the adapter class key and the static TCP/IP values
// its interface key held at the last refresh. All text is the program's GBK bytes.

#include <string>
#include <vector>

#include "adapters/Ipv4Settings.h"

namespace adapters {

struct AdapterInfo {
    std::string instanceId;   // names the adapter's TCP/IP key and the adapter given to the DHCP client
    std::string description;  // the text of the adapter box
    Ipv4Settings settings;
};

// Record i belongs to entry i of the adapter box.
using AdapterList = std::vector<AdapterInfo>;

}  // namespace adapters
