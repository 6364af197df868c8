#include "platform/registry/linux/TcpipInterfacesProvider.h"

#include <arpa/inet.h>
#include <net/if.h>

#include <optional>

#include "platform/netlink/linux/Netlink.h"
#include "platform/registry/KeyPath.h"
#include "platform/registry/RegistrySchema.h"
#include "platform/registry/linux/PendingTcpipSettings.h"
#include "platform/resolver/linux/SystemResolver.h"
#include "platform/text/Gbk.h"

namespace platform_linux {

using winreg::KeyNamesEqual;
using winreg::RegistryValue;
using winreg::SplitKeyPath;

namespace {

RegistryValue MultiString(const std::vector<std::string>& elements) {
    RegistryValue value{win::REG_MULTI_SZ, {}};
    for (const std::string& element : elements) {
        value.data.insert(value.data.end(), element.begin(), element.end());
        value.data.push_back(0);
    }
    // An empty list is the two NULs the program itself writes for "no address".
    if (elements.empty())
        value.data.push_back(0);
    value.data.push_back(0);
    return value;
}

class KernelInterfaceState : public InterfaceState {
  public:
    // The socket is opened here and answers for the network namespace the process is in now, as the
    // registry does as a whole.
    explicit KernelInterfaceState(std::string resolvConfPath)
        : resolver_(std::move(resolvConfPath)), socketOpen_(socket_.Open() == 0) {}

    // Each open of a key asks; the values read through it then use the index found there.
    bool Exists(const std::string& interfaceName) override {
        opened_ = {interfaceName, LookUpIndex(interfaceName)};
        return opened_.second > 0;
    }

    std::vector<std::string> Names() override {
        std::vector<std::string> names;
        if (struct if_nameindex* list = ::if_nameindex()) {
            for (struct if_nameindex* entry = list; entry->if_index != 0; ++entry)
                names.emplace_back(entry->if_name);
            ::if_freenameindex(list);
        }
        return names;
    }

    bool Ipv4(const std::string& interfaceName, std::vector<std::string>& addresses,
              std::vector<std::string>& masks, std::vector<std::string>& gateways) override {
        const int ifIndex = IndexOf(interfaceName);
        std::vector<netlink::Ipv4Address> found;
        std::vector<netlink::DefaultRoute> routes;
        if (ifIndex <= 0 || netlink::ReadAddresses(socket_, ifIndex, found) != 0 ||
            netlink::ReadDefaultRoutes(socket_, ifIndex, routes) != 0) {
            return false;
        }
        for (const netlink::Ipv4Address& address : found) {
            addresses.push_back(netlink::DottedText(address.address));
            masks.push_back(netlink::DottedText(netlink::MaskOf(address.prefixLength)));
        }
        for (const netlink::DefaultRoute& route : routes) {
            if (route.gateway != 0)
                gateways.push_back(netlink::DottedText(route.gateway));
        }
        return true;
    }

    std::vector<std::string> NameServers(const std::string& interfaceName) override {
        std::vector<std::string> servers;
        resolver_.NameServers(IndexOf(interfaceName), servers);
        return servers;
    }

  private:
    // One socket serves every question for the registry's lifetime: opening a socket costs more than
    // the question asked through it. 0 when there is no such interface (or no socket).
    int LookUpIndex(const std::string& interfaceName) {
        return socketOpen_ ? socket_.InterfaceIndex(interfaceName) : 0;
    }
    int IndexOf(const std::string& interfaceName) {
        return interfaceName == opened_.first ? opened_.second : LookUpIndex(interfaceName);
    }
    std::pair<std::string, int> opened_;
    SystemResolver resolver_;
    netlink::Socket socket_;
    bool socketOpen_;
};

// The name of the interface key that path is, if it is one.
std::optional<std::string> InterfaceKeyName(std::string_view path) {
    std::vector<std::string> components = SplitKeyPath(path);
    if (components.size() != 1)
        return std::nullopt;
    return std::move(components[0]);
}

}  // namespace

std::unique_ptr<InterfaceState> MakeKernelInterfaceState(std::string resolvConfPath) {
    return std::make_unique<KernelInterfaceState>(std::move(resolvConfPath));
}

TcpipInterfacesProvider::TcpipInterfacesProvider(std::unique_ptr<InterfaceState> state, std::string hivePath)
    : state_(std::move(state)), hivePath_(std::move(hivePath)) {}

SqliteHive* TcpipInterfacesProvider::PendingStore() {
    if (!pendingStore_)
        pendingStore_ = OpenPendingStore(hivePath_);
    return pendingStore_.get();
}

win::LONG TcpipInterfacesProvider::OpenKey(std::string_view path, win::REGSAM access) {
    const std::vector<std::string> components = SplitKeyPath(path);
    const bool write = (access & win::KEY_SET_VALUE) != 0;
    // The Interfaces key itself holds no adapter's values and is not written.
    if (components.empty())
        return write ? win::ERROR_ACCESS_DENIED : win::ERROR_SUCCESS;
    const std::string interfaceName = text::GbkToUtf8(components[0]);
    if (components.size() > 1 || !state_->Exists(interfaceName))
        return win::ERROR_FILE_NOT_FOUND;
    // Opening the key takes a fresh look at the interface and at its pending values; the values read
    // through it then come from that one look instead of one kernel dump or hive read each.
    live_.erase(interfaceName);
    pending_.erase(winreg::LowerKeyName(components[0]));
    // A write that could not be kept must fail at the open, where the program reports it.
    if (write && PendingStore() == nullptr)
        return win::ERROR_ACCESS_DENIED;
    return win::ERROR_SUCCESS;
}

win::LONG TcpipInterfacesProvider::ListSubKeys(std::string_view path, std::vector<std::string>& names) {
    if (!SplitKeyPath(path).empty())
        return win::ERROR_SUCCESS;
    for (const std::string& name : state_->Names())
        names.push_back(text::Utf8ToGbk(name));
    return win::ERROR_SUCCESS;
}

bool TcpipInterfacesProvider::LiveValue(const std::string& interfaceName, std::string_view name,
                                        RegistryValue& value) {
    const bool address = KeyNamesEqual(name, winreg::kIpAddressValue);
    const bool mask = KeyNamesEqual(name, winreg::kSubnetMaskValue);
    const bool gateway = KeyNamesEqual(name, winreg::kDefaultGatewayValue);
    if (KeyNamesEqual(name, winreg::kNameServerValue)) {
        std::string joined;
        for (const std::string& server : state_->NameServers(interfaceName))
            joined += (joined.empty() ? "" : ",") + server;
        value = {win::REG_SZ, {joined.begin(), joined.end()}};
        value.data.push_back(0);
        return true;
    }
    if (!address && !mask && !gateway)
        return false;
    auto found = live_.find(interfaceName);
    if (found == live_.end()) {
        Live live;
        if (!state_->Ipv4(interfaceName, live.addresses, live.masks, live.gateways))
            return false;
        found = live_.emplace(interfaceName, std::move(live)).first;
    }
    const Live& live = found->second;
    value = MultiString(address ? live.addresses : mask ? live.masks : live.gateways);
    return true;
}

const std::map<std::string, RegistryValue>* TcpipInterfacesProvider::PendingOf(const std::string& key) {
    const std::string lowerKey = winreg::LowerKeyName(key);
    auto found = pending_.find(lowerKey);
    if (found != pending_.end())
        return &found->second;
    SqliteHive* hive = PendingStore();
    std::map<std::string, RegistryValue> values;
    if (hive == nullptr || PendingTcpipSettings(*hive).QueryAll(key, values) != win::ERROR_SUCCESS)
        return nullptr;
    return &pending_.emplace(lowerKey, std::move(values)).first->second;
}

win::LONG TcpipInterfacesProvider::QueryValue(std::string_view path, std::string_view name,
                                              RegistryValue& value) {
    const std::optional<std::string> key = InterfaceKeyName(path);
    if (!key)
        return win::ERROR_FILE_NOT_FOUND;
    if (const auto* pending = PendingOf(*key)) {
        const auto found = pending->find(winreg::LowerKeyName(name));
        if (found != pending->end()) {
            value = found->second;
            return win::ERROR_SUCCESS;
        }
    }
    return LiveValue(text::GbkToUtf8(*key), name, value) ? win::ERROR_SUCCESS : win::ERROR_FILE_NOT_FOUND;
}

win::LONG TcpipInterfacesProvider::SetValue(std::string_view path, std::string_view name,
                                            const RegistryValue& value) {
    const std::optional<std::string> key = InterfaceKeyName(path);
    SqliteHive* hive = PendingStore();
    if (!key || hive == nullptr)
        return win::ERROR_ACCESS_DENIED;
    pending_.erase(winreg::LowerKeyName(*key));
    return PendingTcpipSettings(*hive).Set(*key, name, value);
}

win::LONG TcpipInterfacesProvider::DeleteValue(std::string_view path, std::string_view name) {
    const std::optional<std::string> key = InterfaceKeyName(path);
    SqliteHive* hive = PendingStore();
    if (!key || hive == nullptr)
        return win::ERROR_ACCESS_DENIED;
    pending_.erase(winreg::LowerKeyName(*key));
    return PendingTcpipSettings(*hive).Delete(*key, name);
}

}  // namespace platform_linux
