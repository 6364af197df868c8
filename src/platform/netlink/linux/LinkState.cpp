#include "platform/netlink/linux/LinkState.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

// The kernel's NLMSG_* / RTA_* / IFA_* walking macros are written with C casts.
#pragma GCC diagnostic ignored "-Wold-style-cast"

namespace platform_linux::netlink {

namespace {

// What tells one address of a link from another.
struct AddressKey {
    std::uint32_t local = 0;
    std::uint8_t prefixLength = 0;
    bool operator==(const AddressKey&) const = default;
};

// Everything a restored route must have as it had: a route that came back with another protocol, source
// or metric is not the route that was there.
struct RouteKey {
    std::uint32_t table = 0;
    std::uint32_t destination = 0;
    std::uint32_t gateway = 0;
    std::uint32_t source = 0;
    std::uint32_t priority = 0;
    std::uint32_t oif = 0;
    std::uint8_t destinationLength = 0;
    std::uint8_t tos = 0;
    std::uint8_t type = 0;
    std::uint8_t scope = 0;
    std::uint8_t protocol = 0;
    bool onLink = false;
    bool operator==(const RouteKey&) const = default;
};

const nlmsghdr& HeaderOf(const Request& message) {
    return *reinterpret_cast<const nlmsghdr*>(message.data());
}

Request Copy(const nlmsghdr& message) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&message);
    return {bytes, bytes + message.nlmsg_len};
}

AddressKey AddressKeyOf(const nlmsghdr& message) {
    const auto* address = static_cast<const ifaddrmsg*>(NLMSG_DATA(&message));
    AddressKey key;
    key.prefixLength = address->ifa_prefixlen;
    int length = static_cast<int>(IFA_PAYLOAD(&message));
    for (auto* attribute = IFA_RTA(address); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        if (attribute->rta_type == IFA_LOCAL && RTA_PAYLOAD(attribute) == 4)
            std::memcpy(&key.local, RTA_DATA(attribute), 4);
    }
    return key;
}

std::uint32_t* RouteField(RouteKey& key, unsigned short type) {
    switch (type) {
        case RTA_TABLE:
            return &key.table;
        case RTA_DST:
            return &key.destination;
        case RTA_GATEWAY:
            return &key.gateway;
        case RTA_PREFSRC:
            return &key.source;
        case RTA_PRIORITY:
            return &key.priority;
        case RTA_OIF:
            return &key.oif;
        default:
            return nullptr;
    }
}

RouteKey RouteKeyOf(const nlmsghdr& message) {
    const auto* route = static_cast<const rtmsg*>(NLMSG_DATA(&message));
    RouteKey key;
    key.table = route->rtm_table;
    key.destinationLength = route->rtm_dst_len;
    key.tos = route->rtm_tos;
    key.type = route->rtm_type;
    key.scope = route->rtm_scope;
    key.protocol = route->rtm_protocol;
    key.onLink = (route->rtm_flags & RTNH_F_ONLINK) != 0;
    int length = static_cast<int>(RTM_PAYLOAD(&message));
    for (auto* attribute = RTM_RTA(route); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        std::uint32_t* field = RouteField(key, attribute->rta_type);
        if (field != nullptr && RTA_PAYLOAD(attribute) == 4)
            std::memcpy(field, RTA_DATA(attribute), 4);
    }
    return key;
}

bool IsLinkAddress(const nlmsghdr& message, int ifIndex) {
    if (message.nlmsg_type != RTM_NEWADDR || message.nlmsg_len < NLMSG_LENGTH(sizeof(ifaddrmsg)))
        return false;
    const auto* address = static_cast<const ifaddrmsg*>(NLMSG_DATA(&message));
    return address->ifa_family == AF_INET && static_cast<int>(address->ifa_index) == ifIndex;
}

// Routes the kernel made for a single packet (cloned) are not the link's configuration.
bool IsLinkRoute(const nlmsghdr& message, int ifIndex) {
    if (message.nlmsg_type != RTM_NEWROUTE || message.nlmsg_len < NLMSG_LENGTH(sizeof(rtmsg)))
        return false;
    const auto* route = static_cast<const rtmsg*>(NLMSG_DATA(&message));
    return route->rtm_family == AF_INET && (route->rtm_flags & RTM_F_CLONED) == 0 &&
           RouteKeyOf(message).oif == static_cast<std::uint32_t>(ifIndex);
}

int ReadAddressMessages(Socket& socket, int ifIndex, std::vector<Request>& addresses) {
    addresses.clear();
    return socket.Dump(DumpRequest(RTM_GETADDR, socket.NextSequence(), ifIndex),
                       [&](const nlmsghdr& message) {
                           if (IsLinkAddress(message, ifIndex))
                               addresses.push_back(Copy(message));
                       });
}

int ReadRouteMessages(Socket& socket, int ifIndex, std::vector<Request>& routes) {
    routes.clear();
    return socket.Dump(DumpRequest(RTM_GETROUTE, socket.NextSequence(), ifIndex),
                       [&](const nlmsghdr& message) {
                           if (IsLinkRoute(message, ifIndex))
                               routes.push_back(Copy(message));
                       });
}

// Keeps the first error of a series of steps; an error that says the step had nothing to do is none.
void Note(int& first, int error, int nothingToDo = 0) {
    if (first == 0 && error != 0 && error != nothingToDo)
        first = error;
}

int RestoreAddresses(Socket& socket, int ifIndex, const LinkState& state) {
    std::vector<Request> now;
    if (const int error = ReadAddressMessages(socket, ifIndex, now))
        return error;
    std::size_t same = 0;
    while (same < now.size() && same < state.addresses.size() &&
           AddressKeyOf(HeaderOf(now[same])) == AddressKeyOf(HeaderOf(state.addresses[same]))) {
        ++same;
    }
    int first = 0;
    // Last first: a subnet's secondary addresses stand after its primary, whose removal would take them
    // along.
    for (std::size_t i = now.size(); i > same; --i)
        Note(first, socket.Execute(ReplayRequest(now[i - 1], RTM_DELADDR, 0, socket.NextSequence())),
             EADDRNOTAVAIL);
    for (std::size_t i = same; i < state.addresses.size(); ++i) {
        Note(first, socket.Execute(ReplayRequest(state.addresses[i], RTM_NEWADDR, NLM_F_CREATE | NLM_F_EXCL,
                                                 socket.NextSequence())));
    }
    return first;
}

bool Holds(const std::vector<RouteKey>& keys, const RouteKey& key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

std::vector<RouteKey> RouteKeysOf(const std::vector<Request>& routes) {
    std::vector<RouteKey> keys;
    keys.reserve(routes.size());
    for (const Request& route : routes)
        keys.push_back(RouteKeyOf(HeaderOf(route)));
    return keys;
}

int RestoreRoutes(Socket& socket, int ifIndex, const LinkState& state) {
    std::vector<Request> now;
    if (const int error = ReadRouteMessages(socket, ifIndex, now))
        return error;
    const std::vector<RouteKey> wanted = RouteKeysOf(state.routes);
    const std::vector<RouteKey> present = RouteKeysOf(now);
    int first = 0;
    for (std::size_t i = 0; i < now.size(); ++i) {
        // The kernel's own routes of an address come and go with it.
        if (present[i].protocol == RTPROT_KERNEL || Holds(wanted, present[i]))
            continue;
        Note(first, socket.Execute(ReplayRequest(now[i], RTM_DELROUTE, 0, socket.NextSequence())), ESRCH);
    }
    for (std::size_t i = 0; i < state.routes.size(); ++i) {
        if (Holds(present, wanted[i]))
            continue;
        Note(first, socket.Execute(ReplayRequest(state.routes[i], RTM_NEWROUTE, NLM_F_CREATE | NLM_F_EXCL,
                                                 socket.NextSequence())));
    }
    return first;
}

}  // namespace

Request ReplayRequest(const Request& dumped, std::uint16_t type, std::uint16_t extraFlags,
                      std::uint32_t sequence) {
    Request request = dumped;
    auto* header = reinterpret_cast<nlmsghdr*>(request.data());
    header->nlmsg_type = type;
    header->nlmsg_flags = static_cast<std::uint16_t>(NLM_F_REQUEST | NLM_F_ACK | extraFlags);
    header->nlmsg_seq = sequence;
    header->nlmsg_pid = 0;
    if ((type == RTM_NEWROUTE || type == RTM_DELROUTE) && header->nlmsg_len >= NLMSG_LENGTH(sizeof(rtmsg))) {
        auto* route = static_cast<rtmsg*>(NLMSG_DATA(header));
        route->rtm_flags &= RTNH_F_ONLINK;
    }
    return request;
}

int ReadLinkState(Socket& socket, int ifIndex, LinkState& state) {
    if (const int error = ReadAddressMessages(socket, ifIndex, state.addresses))
        return error;
    return ReadRouteMessages(socket, ifIndex, state.routes);
}

void AddressesIn(const LinkState& state, int ifIndex, std::vector<Ipv4Address>& addresses) {
    addresses.clear();
    for (const Request& message : state.addresses)
        CollectAddress(HeaderOf(message), ifIndex, addresses);
}

void DefaultRoutesIn(const LinkState& state, int ifIndex, std::vector<DefaultRoute>& routes) {
    routes.clear();
    for (const Request& message : state.routes)
        CollectDefaultRoute(HeaderOf(message), ifIndex, routes);
}

int RestoreLinkState(Socket& socket, int ifIndex, const LinkState& state) {
    int first = RestoreAddresses(socket, ifIndex, state);
    Note(first, RestoreRoutes(socket, ifIndex, state));
    return first;
}

}  // namespace platform_linux::netlink
