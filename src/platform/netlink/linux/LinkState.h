#pragma once
// The IPv4 addresses and routes of one link, kept as the kernel's own dump messages. Sent back as requests
// (what "ip addr restore" and "ip route restore" do) they recreate an address or a route with all the
// kernel keeps of it: flags, lifetimes and label of an address; table, protocol, preferred source, metric
// and flags of a route. A change that fails half-way puts the link back from them.

#include <cstdint>
#include <vector>

#include "platform/netlink/linux/Netlink.h"

namespace platform_linux::netlink {

struct LinkState {
    std::vector<Request> addresses;  // RTM_NEWADDR messages, in the kernel's order
    std::vector<Request> routes;     // RTM_NEWROUTE messages of every table whose output is the link
};

int ReadLinkState(Socket& socket, int ifIndex, LinkState& state);
// What ReadAddresses and ReadDefaultRoutes would have read when state was read, without asking again.
void AddressesIn(const LinkState& state, int ifIndex, std::vector<Ipv4Address>& addresses);
void DefaultRoutesIn(const LinkState& state, int ifIndex, std::vector<DefaultRoute>& routes);

// Makes the link's addresses and routes those of state. Addresses from the first one out of place on are
// removed and added again in state's order: the kernel keeps each subnet's secondary addresses in the order
// they came, and the order says which address an index names. Then the routes the link has beyond state
// are removed (not those the kernel made for an address) and those it lacks are added. Goes on past a
// failed step, so as to put back all it can, and returns the first error.
int RestoreLinkState(Socket& socket, int ifIndex, const LinkState& state);

// A dump message as a request of the given type with the given flags (NLM_F_REQUEST and NLM_F_ACK always
// set). A route's flags keep only RTNH_F_ONLINK: the kernel refuses a new route that says its link is down
// or its next hop dead, which a dump may say.
Request ReplayRequest(const Request& dumped, std::uint16_t type, std::uint16_t extraFlags,
                      std::uint32_t sequence);

}  // namespace platform_linux::netlink
