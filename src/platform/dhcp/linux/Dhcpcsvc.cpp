// libdhcpcsvc.so: the DHCP client's change notification as the program calls it, for Linux. The address
// and mask come as arguments; the gateway and the DNS servers are the pending settings the program wrote
// just before into the same process's store (PendingTcpipSettings.h), cleared once the notification has
// put them into effect or failed.
// They go into effect through NetworkManager where it manages the link in this network namespace, else
// through rtnetlink and the system resolver.
#include <arpa/inet.h>
#include <net/if.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/dhcp/DhcpStatus.h"
#include "platform/dhcp/linux/NameServerList.h"
#include "platform/dhcp/linux/StaticAddress.h"
#include "platform/netlink/linux/Netlink.h"
#include "platform/networkmanager/linux/NmLink.h"
#include "platform/registry/RegistrySchema.h"
#include "platform/registry/linux/LinuxRoots.h"
#include "platform/registry/linux/PendingTcpipSettings.h"
#include "platform/resolver/linux/SystemResolver.h"
#include "platform/text/Gbk.h"

namespace {

using platform_linux::ChangeFault;

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
std::uint32_t Switch(platform_linux::netlink::Socket& socket,
                     const platform_linux::StaticAddressChange& change,
                     const std::vector<std::string>& servers, const std::string& resolvConfPath) {
    std::function<int()> undoServers;
    if (!servers.empty()) {
        const unsigned ifIndex = ::if_nametoindex(change.interfaceName.c_str());
        if (ifIndex == 0)
            return win::kDhcpNoSuchAdapter;
        const platform_linux::SystemResolver resolver(resolvConfPath);
        if (const int error = resolver.SetNameServers(static_cast<int>(ifIndex), servers, undoServers))
            return error == EACCES || error == EPERM ? win::kDhcpAccessDenied : win::kDhcpNameServersRefused;
    }
    if (const int error = platform_linux::ApplyStaticAddressChange(change, socket)) {
        if (undoServers)
            undoServers();
        return StatusOf(error);
    }
    return win::kDhcpSuccess;
}

// Where NetworkManager manages the link, a change behind its back would be undone or muddled at its next
// event: the change goes into its connection instead. It also hands the DNS servers to the resolver.
std::uint32_t SwitchThrough(networkmanager::NmLink& link, const platform_linux::StaticAddressChange& change,
                            const std::vector<std::string>& servers) {
    char address[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &change.address, address, sizeof address);
    networkmanager::Ipv4Switch nmChange;
    nmChange.wanted = {address,
                       static_cast<std::uint32_t>(platform_linux::netlink::PrefixLengthOf(change.mask))};
    nmChange.index = change.index;
    nmChange.gateway = change.gateway;
    nmChange.servers = servers;
    const networkmanager::NmResult result = link.Switch(nmChange);
    // The one trace of which path switched, for whoever runs the program from a terminal.
    const bool switched = result == networkmanager::NmResult::kSwitched;
    std::fprintf(stderr, "libdhcpcsvc: %s %s through NetworkManager (connection \"%s\")%s%s\n",
                 change.interfaceName.c_str(), switched ? "switched" : "not switched",
                 link.ConnectionId().c_str(), switched ? "" : ": ",
                 switched ? "" : link.LastError().text.c_str());
    switch (result) {
        case networkmanager::NmResult::kSwitched:
            return win::kDhcpSuccess;
        case networkmanager::NmResult::kAccessDenied:
            return win::kDhcpAccessDenied;
        case networkmanager::NmResult::kRefused:
            return win::kDhcpNetworkManagerRefused;
        case networkmanager::NmResult::kNotInEffect:
            break;
    }
    return StatusOf(EIO);
}

// The interface's pending gateway and DNS servers. A store that holds them but cannot be read fails the
// switch: going ahead without them would leave the old gateway in place and call that a success.
std::uint32_t ReadPending(platform_linux::PendingTcpipSettings& pending, const std::string& interfaceKey,
                          platform_linux::StaticAddressChange& change,
                          std::optional<std::string>& nameServer) {
    const win::LONG error = pending.ReadGatewayAndNameServer(interfaceKey, change.gateway, nameServer);
    if (error == win::ERROR_SUCCESS)
        return win::kDhcpSuccess;
    return error == win::ERROR_BUSY ? win::kDhcpSettingsBusy : win::kDhcpSettingsUnreadable;
}

std::uint32_t CheckAndSwitch(const platform_linux::StaticAddressChange& change,
                             const std::optional<std::string>& nameServer,
                             const std::string& resolvConfPath) {
    // One socket serves the whole switch: opening one costs as much as a question asked through it.
    platform_linux::netlink::Socket socket;
    const std::vector<std::uint32_t> otherLinksAddresses =
        platform_linux::AddressesOfOtherLinks(socket, change.interfaceName);
    if (const ChangeFault fault = platform_linux::FaultOf(change, otherLinksAddresses);
        fault != ChangeFault::kNone)
        return StatusOf(fault);
    std::vector<std::string> servers;
    if (nameServer && !platform_linux::ParseNameServerValue(*nameServer, servers))
        return win::kDhcpBadNameServer;
    if (const auto link = networkmanager::NmLink::Find(change.interfaceName))
        return SwitchThrough(*link, change, servers);
    return Switch(socket, change, servers, resolvConfPath);
}

// The pending settings' store stays open from one notification to the next (the library stays loaded
// once loaded), as long as the hive path stays the same.
platform_linux::SqliteHive* ResidentPendingStore(const std::string& hivePath) {
    static std::string openPath;
    static std::unique_ptr<platform_linux::SqliteHive> store;
    if (!store || openPath != hivePath) {
        store = platform_linux::OpenPendingStore(hivePath);
        openPath = hivePath;
    }
    return store.get();
}

// Puts the change into effect with the interface's pending settings, which are then cleared, whether it
// took effect or not. One notification at a time: they share the store's connection, and two changes of
// one interface must not interleave.
std::uint32_t ApplyWithPendingSettings(platform_linux::StaticAddressChange& change,
                                       const std::string& interfaceKey) {
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    const platform_linux::LinuxRoots roots = platform_linux::RootsFromEnvironment();
    platform_linux::SqliteHive* store = ResidentPendingStore(roots.hive);
    if (store == nullptr)
        return win::kDhcpSettingsUnreadable;
    platform_linux::PendingTcpipSettings pending(*store);
    std::optional<std::string> nameServer;
    if (const std::uint32_t status = ReadPending(pending, interfaceKey, change, nameServer))
        return status;

    const std::uint32_t status = CheckAndSwitch(change, nameServer, roots.resolvConf);
    // Either way the pending values end here: in effect they are the kernel's state, which reads show
    // from now on; after a failure they never were in effect, and reads must not show them as the
    // adapter's settings.
    pending.Clear(interfaceKey);
    return status;
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
    return ApplyWithPendingSettings(change, names.gbk);
}
