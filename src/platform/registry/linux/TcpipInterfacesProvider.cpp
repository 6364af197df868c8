#include "platform/registry/linux/TcpipInterfacesProvider.h"

#include <arpa/inet.h>
#include <net/if.h>

#include "platform/netlink/linux/Netlink.h"
#include "platform/registry/linux/KeyPath.h"
#include "platform/resolver/linux/SystemResolver.h"
#include "platform/text/Gbk.h"

namespace platform_linux {

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

    bool Exists(const std::string& interfaceName) override { return IndexOf(interfaceName) > 0; }

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
    int IndexOf(const std::string& interfaceName) {
        return socketOpen_ ? socket_.InterfaceIndex(interfaceName) : 0;
    }
    SystemResolver resolver_;
    netlink::Socket socket_;
    bool socketOpen_;
};

}  // namespace

std::unique_ptr<InterfaceState> MakeKernelInterfaceState(std::string resolvConfPath) {
    return std::make_unique<KernelInterfaceState>(std::move(resolvConfPath));
}

TcpipInterfacesProvider::TcpipInterfacesProvider(std::unique_ptr<InterfaceState> state, std::string hivePath,
                                                 std::string hivePrefix)
    : state_(std::move(state)), hive_(std::move(hivePath)), hivePrefix_(std::move(hivePrefix)) {}

std::string TcpipInterfacesProvider::HivePathOf(std::string_view path) const {
    return path.empty() ? hivePrefix_ : hivePrefix_ + "\\" + std::string(path);
}

win::LONG TcpipInterfacesProvider::OpenKey(std::string_view path, win::REGSAM access) {
    const std::vector<std::string> components = SplitKeyPath(path);
    const bool write = (access & win::KEY_SET_VALUE) != 0;
    // The Interfaces key itself holds no adapter's values and is not written.
    if (components.empty())
        return write ? win::ERROR_ACCESS_DENIED : win::ERROR_SUCCESS;
    const std::string interfaceName = text::GbkToUtf8(components[0]);
    if (!state_->Exists(interfaceName))
        return win::ERROR_FILE_NOT_FOUND;
    // Opening the key takes a fresh look at the interface; the values read through it then come from
    // that one look instead of one kernel dump each.
    live_.erase(interfaceName);
    if (components.size() > 1)
        return hive_.OpenKey(HivePathOf(path), access);
    // A write that could not be kept must fail at the open, where the program reports it.
    if (write && hive_.Hive() == nullptr)
        return win::ERROR_ACCESS_DENIED;
    return win::ERROR_SUCCESS;
}

win::LONG TcpipInterfacesProvider::ListSubKeys(std::string_view path, std::vector<std::string>& names) {
    if (!SplitKeyPath(path).empty())
        return hive_.ListSubKeys(HivePathOf(path), names);
    for (const std::string& name : state_->Names())
        names.push_back(text::Utf8ToGbk(name));
    return win::ERROR_SUCCESS;
}

bool TcpipInterfacesProvider::LiveValue(const std::string& interfaceName, std::string_view name,
                                        RegistryValue& value) {
    const bool address = KeyNamesEqual(name, "IPAddress");
    const bool mask = KeyNamesEqual(name, "SubnetMask");
    const bool gateway = KeyNamesEqual(name, "DefaultGateway");
    if (KeyNamesEqual(name, "NameServer")) {
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

win::LONG TcpipInterfacesProvider::QueryValue(std::string_view path, std::string_view name,
                                              RegistryValue& value) {
    const std::vector<std::string> components = SplitKeyPath(path);
    if (components.empty())
        return win::ERROR_FILE_NOT_FOUND;
    if (hive_.QueryValue(HivePathOf(path), name, value) == win::ERROR_SUCCESS)
        return win::ERROR_SUCCESS;
    if (components.size() == 1 && LiveValue(text::GbkToUtf8(components[0]), name, value))
        return win::ERROR_SUCCESS;
    return win::ERROR_FILE_NOT_FOUND;
}

win::LONG TcpipInterfacesProvider::SetValue(std::string_view path, std::string_view name,
                                            const RegistryValue& value) {
    if (SplitKeyPath(path).empty())
        return win::ERROR_ACCESS_DENIED;
    return hive_.SetValue(HivePathOf(path), name, value);
}

win::LONG TcpipInterfacesProvider::DeleteValue(std::string_view path, std::string_view name) {
    if (SplitKeyPath(path).empty())
        return win::ERROR_ACCESS_DENIED;
    return hive_.DeleteValue(HivePathOf(path), name);
}

}  // namespace platform_linux
