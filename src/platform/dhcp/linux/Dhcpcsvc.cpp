// libdhcpcsvc.so: the DHCP client's change notification as the program calls it, for Linux. The address
// and mask come as arguments; the gateway is the DefaultGateway value the program wrote into the hive
// just before. Once applied, the pending values are cleared so that reads show the kernel's state again.
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <string>

#include "dhcp/linux/ResidentHive.h"
#include "dhcp/linux/StaticAddress.h"
#include "platform/registry/linux/LinuxRegistry.h"
#include "text/Gbk.h"

namespace {

using platform_linux::RegistryValue;

constexpr std::size_t kAdapterNameUnits = 256;

// The adapter name as the program knows it (its GBK text, which names the TCP/IP key) and as the
// kernel knows it (UTF-8). Interface names are nearly always ASCII, where both are the same bytes and
// no converter needs loading.
struct AdapterNames {
    std::string gbk;
    std::string kernel;
};

AdapterNames NamesOf(const char16_t* adapterName) {
    std::u16string name;
    bool ascii = true;
    for (std::size_t i = 0; i < kAdapterNameUnits && adapterName[i] != u'\0'; ++i) {
        name.push_back(adapterName[i]);
        ascii = ascii && adapterName[i] < 0x80;
    }
    if (ascii)
        return {std::string(name.begin(), name.end()), std::string(name.begin(), name.end())};
    const std::string gbk = text::Utf16ToGbk(name);
    return {gbk, text::GbkToUtf8(gbk)};
}

}  // namespace

extern "C" __attribute__((visibility("default"))) std::uint32_t DhcpNotifyConfigChange(
    const char16_t* serverName, const char16_t* adapterName, int newIpAddress, std::uint32_t ipIndex,
    std::uint32_t ipAddress, std::uint32_t subnetMask, int dhcpAction) {
    // Only the local machine's static address can be changed here.
    if (serverName != nullptr || adapterName == nullptr || dhcpAction != 0)
        return EINVAL;
    if (newIpAddress == 0)
        return 0;

    platform_linux::StaticAddressChange change;
    const AdapterNames names = NamesOf(adapterName);
    change.interfaceName = names.kernel;
    change.index = ipIndex;
    change.address = ipAddress;
    change.mask = subnetMask;

    // One notification at a time: they share the hive connection, and two changes of one interface
    // must not interleave.
    static std::mutex mutex;
    static platform_linux::ResidentHive resident;
    const std::lock_guard lock(mutex);
    const platform_linux::ResidentHive::State hive = resident.Open(platform_linux::HivePath());
    if (hive == platform_linux::ResidentHive::State::kUnreadable)
        return EIO;
    const bool pending = hive == platform_linux::ResidentHive::State::kOpen;
    const std::string key = std::string(platform_linux::kTcpipInterfacesKeyPath) + "\\" + names.gbk;
    RegistryValue gateway;
    if (pending && resident.Hive().Query(key, "DefaultGateway", gateway) == 0) {
        const std::string text(gateway.data.begin(), gateway.data.end());
        change.gateway = text.substr(0, text.find('\0'));
    }

    if (const int error = platform_linux::ApplyStaticAddressChange(change))
        return static_cast<std::uint32_t>(error);
    if (pending)
        resident.Hive().DeleteAll(key, {"IPAddress", "SubnetMask", "DefaultGateway"});
    return 0;
}
