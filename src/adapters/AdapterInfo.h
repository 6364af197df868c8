#pragma once
// One discovered network adapter: its names from the adapter class key and the static TCP/IP values
// its interface key held at the last refresh. All text is the program's GBK bytes.

#include <string>
#include <vector>

namespace adapters {

struct AdapterInfo {
    std::string instanceId;   // names the adapter's TCP/IP key and the adapter given to the DHCP client
    std::string description;  // the text of the adapter box
    std::string ipAddress;
    std::string subnetMask;
    std::string defaultGateway;
    std::string preferredDns;
    std::string alternateDns;
};

// Record i belongs to entry i of the adapter box.
using AdapterList = std::vector<AdapterInfo>;

}  // namespace adapters
