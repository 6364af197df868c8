#pragma once
// Filling an in-memory registry with adapters the way Windows lays them out: one subkey of the network
// adapter class key per adapter, and one TCP/IP interface key per instance id.

#include <string>
#include <vector>

#include "fakes/InMemoryRegistry.h"
#include "platform/registry/RegistrySchema.h"

namespace fakes {

inline const std::string kAdapterClassKey{winreg::kAdapterClassKeyPath};
inline const std::string kInterfacesKey{winreg::kTcpipInterfacesKeyPath};

inline void AddAdapter(InMemoryRegistry& registry, const std::string& subKey, const std::string& lowerRange,
                       const std::string& description, const std::string& instanceId) {
    const std::string key = kAdapterClassKey + "\\" + subKey;
    registry.PutString(key + "\\" + std::string(winreg::kNdiInterfacesKeyPath), winreg::kLowerRangeValue,
                       lowerRange);
    registry.PutString(key, winreg::kDriverDescValue, description);
    registry.PutString(key, winreg::kNetCfgInstanceIdValue, instanceId);
}

inline void AddInterface(InMemoryRegistry& registry, const std::string& instanceId,
                         const std::string& ipAddress, const std::string& subnetMask,
                         const std::string& defaultGateway, const std::string& nameServer) {
    const std::string key = kInterfacesKey + "\\" + instanceId;
    registry.PutMultiString(key, winreg::kIpAddressValue, {ipAddress});
    registry.PutMultiString(key, winreg::kSubnetMaskValue, {subnetMask});
    registry.PutMultiString(key, winreg::kDefaultGatewayValue, {defaultGateway});
    registry.PutString(key, winreg::kNameServerValue, nameServer);
}

}  // namespace fakes
