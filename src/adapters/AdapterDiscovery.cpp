#include "adapters/AdapterDiscovery.h"

#include <algorithm>

#include "adapters/AdapterSettings.h"
#include "adapters/RegistryKey.h"

namespace adapters {

namespace {

// The network adapter device class; one subkey per adapter ("0000", "0001", ...).
constexpr std::string_view kAdapterClassKey =
    "System\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}";
constexpr win::DWORD kSubKeyNameSize = 256;

// The whole value, byte for byte, up to its first NUL: "Ethernet" and "ethernet,wlan" do not qualify, a
// multi-string whose first element is "ethernet" does.
bool IsEthernet(win::Registry& registry, win::HKEY adapterKey, ValueBuffer& buffer) {
    RegistryKey interfaces(registry);
    if (!interfaces.Open(adapterKey, "Ndi\\Interfaces", win::KEY_READ))
        return false;
    std::string lowerRange;
    return buffer.QueryText(registry, interfaces.Get(), "LowerRange", lowerRange) && lowerRange == "ethernet";
}

}  // namespace

bool EnumerateAdapters(win::Registry& registry, AdapterList& list) {
    RegistryKey classKey(registry);
    if (!classKey.Open(win::HKEY_LOCAL_MACHINE, kAdapterClassKey, win::KEY_READ))
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
        if (!buffer.QueryText(registry, adapterKey.Get(), "DriverDesc", adapter.description))
            continue;
        if (buffer.QueryText(registry, adapterKey.Get(), "NetCfgInstanceID", adapter.instanceId)) {
            ReadAdapterSettings(registry, adapter.settings, adapter.instanceId);
        }
        list.push_back(std::move(adapter));
    }
    return true;
}

}  // namespace adapters
