#include "platform/dhcp/linux/StaticAddress.h"

#include <arpa/inet.h>
#include <linux/rtnetlink.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/netlink/linux/LinkState.h"
#include "platform/netlink/linux/Netlink.h"

namespace platform_linux {

namespace {

using netlink::DefaultRoute;
using netlink::Ipv4Address;

// "" and "0.0.0.0" are no gateway (0).
bool ParseGateway(const std::string& text, std::uint32_t& gateway) {
    in_addr parsed{};
    if (!text.empty() && ::inet_pton(AF_INET, text.c_str(), &parsed) != 1)
        return false;
    gateway = parsed.s_addr;
    return true;
}

// 0.x.x.x, 127.x.x.x, multicast and reserved (224 and up, 255.255.255.255 included) are no host's.
bool IsHostAddress(std::uint32_t networkOrder) {
    const auto first = static_cast<std::uint8_t>(ntohl(networkOrder) >> 24);
    return first != 0 && first != 127 && first < 224;
}

bool InSubnet(std::uint32_t address, const StaticAddressChange& change) {
    return (address & change.mask) == (change.address & change.mask);
}

// Below /31 a subnet's first and last addresses name the network and its broadcast, never a host;
// a /31 has two hosts and no broadcast, a /32 one host.
bool IsNetworkOrBroadcast(std::uint32_t address, std::uint32_t mask) {
    if (netlink::PrefixLengthOf(mask) >= 31)
        return false;
    const std::uint32_t hostBits = ntohl(address) & ~ntohl(mask);
    return hostBits == 0 || hostBits == ~ntohl(mask);
}

// No router ever answers at these, though the kernel may take them as a route: the subnet's own
// network or broadcast address, or this machine's own address on another link, which would send the
// default route back into the machine. They are refused before anything changes.
bool IsUnusableGateway(std::uint32_t gateway, const StaticAddressChange& change,
                       const std::vector<std::uint32_t>& otherLinksAddresses) {
    if (gateway == change.address || !IsHostAddress(gateway))
        return true;
    if (InSubnet(gateway, change) && IsNetworkOrBroadcast(gateway, change.mask))
        return true;
    return std::find(otherLinksAddresses.begin(), otherLinksAddresses.end(), gateway) !=
           otherLinksAddresses.end();
}

class Change {
  public:
    Change(netlink::Socket& socket, int ifIndex) : socket_(socket), ifIndex_(ifIndex) {}

    int Address(std::uint16_t type, std::uint16_t flags, const Ipv4Address& address) {
        return socket_.Execute(
            netlink::AddressRequest(type, flags, socket_.NextSequence(), ifIndex_, address));
    }
    int Route(std::uint16_t type, std::uint16_t flags, const DefaultRoute& route) {
        return socket_.Execute(
            netlink::DefaultRouteRequest(type, flags, socket_.NextSequence(), ifIndex_, route));
    }

  private:
    netlink::Socket& socket_;
    int ifIndex_;
};

// With no gateway pending, the routes stay as they were. Deleting the old address took the routes through
// it along; those whose gateway the new subnet still reaches are put back.
int KeepRoutes(netlink::Socket& socket, Change& apply, int ifIndex, bool replacedOld,
               const std::vector<DefaultRoute>& oldRoutes, const StaticAddressChange& change) {
    if (!replacedOld || oldRoutes.empty())
        return 0;
    std::vector<DefaultRoute> current;
    if (const int error = netlink::ReadDefaultRoutes(socket, ifIndex, current))
        return error;
    for (const DefaultRoute& route : oldRoutes) {
        const bool present = std::any_of(current.begin(), current.end(), [&](const DefaultRoute& r) {
            return r.gateway == route.gateway && r.priority == route.priority;
        });
        const bool reachable = route.gateway == 0 || route.onLink || InSubnet(route.gateway, change);
        if (!present && reachable) {
            if (const int error = apply.Route(RTM_NEWROUTE, NLM_F_CREATE, route);
                error != 0 && error != EEXIST)
                return error;
        }
    }
    return 0;
}

// Whether another address of the interface lies in old's subnet: only such an address can be a
// secondary that goes when old goes.
bool HasSubnetSibling(const std::vector<Ipv4Address>& before, const Ipv4Address& old) {
    const std::uint32_t mask = netlink::MaskOf(old.prefixLength);
    return std::any_of(before.begin(), before.end(), [&](const Ipv4Address& address) {
        return address != old && address.prefixLength == old.prefixLength &&
               (address.address & mask) == (old.address & mask);
    });
}

// Deleting a subnet's primary address takes its secondary addresses with it, unless the interface
// promotes them (promote_secondaries, off by default): the addresses the change was not about are put
// back, so that only the one at the index is replaced.
int KeepOtherAddresses(netlink::Socket& socket, Change& apply, int ifIndex,
                       const std::vector<Ipv4Address>& before, const Ipv4Address& old,
                       const Ipv4Address& wanted) {
    if (!HasSubnetSibling(before, old))
        return 0;
    std::vector<Ipv4Address> now;
    if (const int error = netlink::ReadAddresses(socket, ifIndex, now))
        return error;
    for (const Ipv4Address& address : before) {
        if (address == old || address == wanted || std::find(now.begin(), now.end(), address) != now.end())
            continue;
        const int error = apply.Address(RTM_NEWADDR, NLM_F_CREATE, address);
        if (error != 0 && error != EEXIST)
            return error;
    }
    return 0;
}

// What the change does, worked out from the link's addresses and default routes before it.
struct ChangePlan {
    std::vector<Ipv4Address> addresses;
    std::vector<DefaultRoute> oldRoutes;
    Ipv4Address wanted;
    Ipv4Address old;
    bool alreadyPresent = false;
    bool replaceOld = false;
};

// Routes through the old address may have gone with it; what is left is replaced unless it is already
// exactly the wanted route.
int SetDefaultRoute(netlink::Socket& socket, Change& apply, int ifIndex, const StaticAddressChange& change,
                    const ChangePlan& plan) {
    std::vector<DefaultRoute> current = plan.oldRoutes;
    if (plan.replaceOld) {
        if (const int error = netlink::ReadDefaultRoutes(socket, ifIndex, current))
            return error;
    }
    DefaultRoute wantedRoute;
    const bool wantRoute = ParseGateway(*change.gateway, wantedRoute.gateway) && wantedRoute.gateway != 0;
    wantedRoute.onLink = wantRoute && !InSubnet(wantedRoute.gateway, change);
    if (wantRoute && current.size() == 1 && current[0].gateway == wantedRoute.gateway)
        return 0;
    for (const DefaultRoute& route : current) {
        const int error = apply.Route(RTM_DELROUTE, 0, route);
        if (error != 0 && error != ESRCH)
            return error;
    }
    return wantRoute ? apply.Route(RTM_NEWROUTE, NLM_F_CREATE, wantedRoute) : 0;
}

}  // namespace

ChangeFault FaultOf(const StaticAddressChange& change,
                    const std::vector<std::uint32_t>& otherLinksAddresses) {
    if (netlink::PrefixLengthOf(change.mask) <= 0)
        return ChangeFault::kMask;
    if (!IsHostAddress(change.address) || IsNetworkOrBroadcast(change.address, change.mask))
        return ChangeFault::kAddress;
    std::uint32_t gateway = 0;
    if (change.gateway && !ParseGateway(*change.gateway, gateway))
        return ChangeFault::kGateway;
    if (gateway != 0 && IsUnusableGateway(gateway, change, otherLinksAddresses))
        return ChangeFault::kGateway;
    return ChangeFault::kNone;
}

std::vector<std::uint32_t> AddressesOfOtherLinks(netlink::Socket& socket, const std::string& interfaceName) {
    std::vector<Ipv4Address> addresses;
    if ((!socket.IsOpen() && socket.Open() != 0) ||
        netlink::ReadAddressesOfOtherLinks(socket, socket.InterfaceIndex(interfaceName), addresses) != 0)
        return {};
    std::vector<std::uint32_t> others;
    others.reserve(addresses.size());
    for (const Ipv4Address& address : addresses)
        others.push_back(address.address);
    return others;
}

namespace {

// Whether the kernel now holds what the change was to put into effect: the wanted address in place of the
// old one, and the default routes the change set, or kept where no gateway was pending.
bool InEffect(netlink::Socket& socket, int ifIndex, const StaticAddressChange& change,
              const ChangePlan& plan) {
    std::vector<Ipv4Address> addresses;
    std::vector<DefaultRoute> routes;
    if (netlink::ReadAddresses(socket, ifIndex, addresses) != 0 ||
        netlink::ReadDefaultRoutes(socket, ifIndex, routes) != 0)
        return false;
    const auto has = [&](const Ipv4Address& a) {
        return std::find(addresses.begin(), addresses.end(), a) != addresses.end();
    };
    if (!has(plan.wanted) || (plan.replaceOld && has(plan.old)))
        return false;
    const auto routed = [&](const DefaultRoute& route) {
        return std::any_of(routes.begin(), routes.end(), [&](const DefaultRoute& r) {
            return r.gateway == route.gateway && r.priority == route.priority;
        });
    };
    if (!change.gateway) {
        return std::all_of(plan.oldRoutes.begin(), plan.oldRoutes.end(), [&](const DefaultRoute& route) {
            return routed(route) || !(route.gateway == 0 || route.onLink || InSubnet(route.gateway, change));
        });
    }
    DefaultRoute wantedRoute;
    if (!ParseGateway(*change.gateway, wantedRoute.gateway) || wantedRoute.gateway == 0)
        return routes.empty();
    return routes.size() == 1 && routes[0].gateway == wantedRoute.gateway;
}

// The steps of the change, in an order that never loses an address the change was not about. The first
// error ends them; the caller puts the link back.
int ApplySteps(netlink::Socket& socket, int ifIndex, const StaticAddressChange& change,
               const ChangePlan& plan) {
    Change apply(socket, ifIndex);
    // The old address goes first: had the new one been added first in the same subnet, it would be a
    // secondary address, and the kernel removes secondaries together with their primary.
    if (plan.replaceOld) {
        if (const int error = apply.Address(RTM_DELADDR, 0, plan.old))
            return error;
    }
    if (!plan.alreadyPresent) {
        if (const int error = apply.Address(RTM_NEWADDR, NLM_F_CREATE | NLM_F_REPLACE, plan.wanted))
            return error;
    }
    if (plan.replaceOld) {
        if (const int error =
                KeepOtherAddresses(socket, apply, ifIndex, plan.addresses, plan.old, plan.wanted))
            return error;
    }
    if (!change.gateway)
        return KeepRoutes(socket, apply, ifIndex, plan.replaceOld, plan.oldRoutes, change);
    return SetDefaultRoute(socket, apply, ifIndex, change, plan);
}

}  // namespace

int ApplyStaticAddressChange(const StaticAddressChange& change, const netlink::RequestFault& fault) {
    netlink::Socket socket(fault);
    return ApplyStaticAddressChange(change, socket);
}

int ApplyStaticAddressChange(const StaticAddressChange& change, netlink::Socket& socket) {
    if (FaultOf(change) != ChangeFault::kNone)
        return EINVAL;
    if (!socket.IsOpen()) {
        if (const int error = socket.Open())
            return error;
    }
    const int ifIndex = socket.InterfaceIndex(change.interfaceName);
    if (ifIndex <= 0)
        return ENODEV;
    ChangePlan plan;
    netlink::LinkState before;
    if (const int error = netlink::ReadLinkState(socket, ifIndex, before))
        return error;
    netlink::AddressesIn(before, ifIndex, plan.addresses);
    netlink::DefaultRoutesIn(before, ifIndex, plan.oldRoutes);
    plan.wanted = {change.address, static_cast<std::uint8_t>(netlink::PrefixLengthOf(change.mask))};
    const bool hasOld = change.index < plan.addresses.size();
    plan.old = hasOld ? plan.addresses[change.index] : Ipv4Address{};
    plan.alreadyPresent =
        std::find(plan.addresses.begin(), plan.addresses.end(), plan.wanted) != plan.addresses.end();
    // An address the interface already has is in effect, wherever it stands: a replaced address goes to
    // the end of the kernel's order, so applying the same change again finds another address at the
    // index, which must not go for it.
    plan.replaceOld = hasOld && !plan.alreadyPresent;

    int error = ApplySteps(socket, ifIndex, change, plan);
    // A step the kernel acknowledged can still leave something else than asked (a route that went with an
    // address): only what is read back counts as done.
    if (error == 0 && !InEffect(socket, ifIndex, change, plan))
        error = EIO;
    if (error != 0)
        netlink::RestoreLinkState(socket, ifIndex, before);
    return error;
}

}  // namespace platform_linux
