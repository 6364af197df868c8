#include "adapters/AdapterDiscovery.h"

#include <algorithm>

#include "adapters/AdapterSettings.h"
#include "adapters/RegistryKey.h"
#include "platform/registry/RegistrySchema.h"

namespace adapters {

namespace {

constexpr win::DWORD kSubKeyNameSize = 256;

// The whole value, byte for byte, up to its first NUL: "Ethernet" and "ethernet,wlan" do not qualify, a
// multi-string whose first element is "ethernet" does.
bool IsEthernet(win::Registry& registry, win::HKEY adapterKey, ValueBuffer& buffer) {
    RegistryKey interfaces(registry);
    if (!interfaces.Open(adapterKey, winreg::kNdiInterfacesKeyPath, win::KEY_READ))
        return false;
    std::string lowerRange;
    return buffer.QueryText(registry, interfaces.Get(), winreg::kLowerRangeValue, lowerRange) &&
           lowerRange == winreg::kEthernetLowerRange;
}

}  // namespace

bool EnumerateAdapters(win::Registry& registry, AdapterList& list) {
    RegistryKey classKey(registry);
    if (!classKey.Open(win::HKEY_LOCAL_MACHINE, winreg::kAdapterClassKeyPath, win::KEY_READ))
        return false;

    ValueBuffer buffer;
    for (win::DWORD index = 0;; ++index) {
        char name[kSubKeyNameSize] = {};
        win::DWORD nameSize = kSubKeyNameSize;
        // Any failure ends the walk, an error at some index as much as the end of the list.
        if (registry.RegEnumKeyEx(classKey.Get(), index, name, &nameSize) != win::ERROR_SUCCESS)
            break;

        RegistryKey adapterKey(registry);
        if (!adapterKey.Open(classKey.Get(), std::string_view(name, std::min(nameSize, kSubKeyNameSize - 1)),
                             win::KEY_READ))
            continue;
        if (!IsEthernet(registry, adapterKey.Get(), buffer))
            continue;

        AdapterInfo adapter;
        if (!buffer.QueryText(registry, adapterKey.Get(), winreg::kDriverDescValue, adapter.description))
            continue;
        if (buffer.QueryText(registry, adapterKey.Get(), winreg::kNetCfgInstanceIdValue,
                             adapter.instanceId)) {
            ReadAdapterSettings(registry, adapter.settings, adapter.instanceId);
        }
        list.push_back(std::move(adapter));
    }
    return true;
}

}  // namespace adapters
