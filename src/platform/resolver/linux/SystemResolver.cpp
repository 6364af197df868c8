#include "platform/resolver/linux/SystemResolver.h"

#include <memory>

#include "platform/resolver/linux/ResolvConf.h"
#include "platform/resolver/linux/ResolvedBus.h"

namespace platform_linux {

int SystemResolver::NameServers(int ifIndex, std::vector<std::string>& servers) const {
    if (const std::unique_ptr<ResolvedBus> resolved = ResolvedBus::ServingThisNamespace())
        return resolved->LinkDns(ifIndex, servers);
    return resolvConfServers_.Read(resolvConfPath_, servers);
}

int SystemResolver::SetNameServers(int ifIndex, const std::vector<std::string>& servers,
                                   std::function<int()>& undo) const {
    if (std::shared_ptr<ResolvedBus> resolved = ResolvedBus::ServingThisNamespace()) {
        std::vector<std::string> before;
        if (const int error = resolved->LinkDns(ifIndex, before))
            return error;
        if (const int error = resolved->SetLinkDns(ifIndex, servers))
            return error;
        undo = [resolved, ifIndex, before] { return resolved->SetLinkDns(ifIndex, before); };
        return 0;
    }
    std::string before;
    if (const int error = ReadResolvConf(resolvConfPath_, before))
        return error;
    if (const int error = WriteResolvConf(resolvConfPath_, ReplaceNameServers(before, servers)))
        return error;
    undo = [path = resolvConfPath_, before] { return WriteResolvConf(path, before); };
    return 0;
}

}  // namespace platform_linux
