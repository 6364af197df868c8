#pragma once
// An IPv4 configuration as the program keeps, shows and switches it: five dotted addresses as GBK
// text, each possibly empty. An adapter's present values and a saved profile hold one alike, and a
// switch writes one to an adapter whole.

#include <string>

namespace adapters {

struct Ipv4Settings {
    std::string ipAddress;
    std::string subnetMask;
    std::string defaultGateway;
    std::string preferredDns;
    std::string alternateDns;

    bool operator==(const Ipv4Settings&) const = default;
};

}  // namespace adapters
