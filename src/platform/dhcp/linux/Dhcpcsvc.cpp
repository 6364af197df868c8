// libdhcpcsvc.so: the DHCP client's change notification as the program calls it, for Linux. The address
// and mask come as arguments; the gateway and the DNS servers are the DefaultGateway and NameServer values
// the program wrote into the hive just before. Once applied, the pending values are cleared so that reads
// show the kernel's and the resolver's state again.
#include <net/if.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "platform/dhcp/DhcpStatus.h"
#include "platform/dhcp/linux/NameServerList.h"
#include "platform/dhcp/linux/ResidentHive.h"
#include "platform/dhcp/linux/StaticAddress.h"
#include "platform/registry/linux/LinuxRegistry.h"
#include "platform/resolver/linux/ResolvConf.h"
#include "platform/resolver/linux/SystemResolver.h"
#include "platform/text/Gbk.h"

namespace {

using platform_linux::ChangeFault;
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

// A pending value's text up to its first NUL (the first element of a multi-string).
std::optional<std::string> PendingText(platform_linux::SqliteHive& hive, const std::string& key,
                                       const char* name) {
    RegistryValue value;
    if (hive.Query(key, name, value) != 0)
        return std::nullopt;
    const std::string text(value.data.begin(), value.data.end());
    return text.substr(0, text.find('\0'));
}

std::uint32_t StatusOf(int error) {
    switch (error) {
        case EPERM:
        case EACCES:
            return win::kDhcpAccessDenied;
        case ENODEV:
            return win::kDhcpNoSuchAdapter;
        default:
            return win::kDhcpSystemError | (static_cast<std::uint32_t>(error) & 0xFFFF);
    }
}

std::uint32_t StatusOf(ChangeFault fault) {
    switch (fault) {
        case ChangeFault::kAddress:
            return win::kDhcpBadAddress;
        case ChangeFault::kMask:
            return win::kDhcpBadMask;
        case ChangeFault::kGateway:
            return win::kDhcpBadGateway;
        case ChangeFault::kNone:
            break;
    }
    return win::kDhcpSuccess;
}

// The DNS servers go first: a resolver that refuses them leaves the interface untouched, and an
// address the kernel refuses afterwards puts the previous servers back. Either way the switch takes
// effect whole or not at all.
std::uint32_t Switch(const platform_linux::StaticAddressChange& change,
                     const std::vector<std::string>& servers) {
    std::function<int()> undoServers;
    if (!servers.empty()) {
        const unsigned ifIndex = ::if_nametoindex(change.interfaceName.c_str());
        if (ifIndex == 0)
            return win::kDhcpNoSuchAdapter;
        const platform_linux::SystemResolver resolver(platform_linux::ResolvConfPath());
        if (const int error = resolver.SetNameServers(static_cast<int>(ifIndex), servers, undoServers))
            return error == EACCES || error == EPERM ? win::kDhcpAccessDenied : win::kDhcpNameServersRefused;
    }
    if (const int error = platform_linux::ApplyStaticAddressChange(change)) {
        if (undoServers)
            undoServers();
        return StatusOf(error);
    }
    return win::kDhcpSuccess;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) std::uint32_t DhcpNotifyConfigChange(
    const char16_t* serverName, const char16_t* adapterName, int newIpAddress, std::uint32_t ipIndex,
    std::uint32_t ipAddress, std::uint32_t subnetMask, int dhcpAction) {
    // Only the local machine's static address can be changed here.
    if (serverName != nullptr || adapterName == nullptr || dhcpAction != 0)
        return win::kDhcpInvalidParameter;
    if (newIpAddress == 0)
        return win::kDhcpSuccess;

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
        return win::kDhcpSettingsUnreadable;
    const bool pending = hive == platform_linux::ResidentHive::State::kOpen;
    const std::string key = std::string(platform_linux::kTcpipInterfacesKeyPath) + "\\" + names.gbk;
    std::optional<std::string> nameServer;
    if (pending) {
        change.gateway = PendingText(resident.Hive(), key, "DefaultGateway");
        nameServer = PendingText(resident.Hive(), key, "NameServer");
    }

    if (const ChangeFault fault = platform_linux::FaultOf(change); fault != ChangeFault::kNone)
        return StatusOf(fault);
    std::vector<std::string> servers;
    if (nameServer && !platform_linux::ParseNameServerValue(*nameServer, servers))
        return win::kDhcpBadNameServer;
    if (const std::uint32_t status = Switch(change, servers))
        return status;
    if (pending)
        resident.Hive().DeleteAll(key, {"IPAddress", "SubnetMask", "DefaultGateway", "NameServer"});
    return win::kDhcpSuccess;
}
