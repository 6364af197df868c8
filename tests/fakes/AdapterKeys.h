#pragma once
// Filling an in-memory registry with adapters the way Windows lays them out: one subkey of the network
// adapter class key per adapter, and one TCP/IP interface key per instance id.

#include <string>
#include <vector>

#include "fakes/InMemoryRegistry.h"

namespace fakes {

inline const std::string kAdapterClassKey =
    "System\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}";
inline const std::string kInterfacesKey =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";

inline void AddAdapter(InMemoryRegistry& registry, const std::string& subKey, const std::string& lowerRange,
                       const std::string& description, const std::string& instanceId) {
    const std::string key = kAdapterClassKey + "\\" + subKey;
    registry.PutString(key + "\\Ndi\\Interfaces", "LowerRange", lowerRange);
    registry.PutString(key, "DriverDesc", description);
    registry.PutString(key, "NetCfgInstanceID", instanceId);
}

inline void AddInterface(InMemoryRegistry& registry, const std::string& instanceId,
                         const std::string& ipAddress, const std::string& subnetMask,
                         const std::string& defaultGateway, const std::string& nameServer) {
    const std::string key = kInterfacesKey + "\\" + instanceId;
    registry.PutMultiString(key, "IPAddress", {ipAddress});
    registry.PutMultiString(key, "SubnetMask", {subnetMask});
    registry.PutMultiString(key, "DefaultGateway", {defaultGateway});
    registry.PutString(key, "NameServer", nameServer);
}

}  // namespace fakes
