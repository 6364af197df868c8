#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <linux/rtnetlink.h>
#include <net/if.h>

#include <cerrno>
#include <climits>
#include <optional>

#include "platform/dhcp/linux/StaticAddress.h"
#include "platform/netlink/linux/Netlink.h"

namespace {

using namespace platform_linux;
using netlink::Request;

std::uint32_t Address(const char* dotted) {
    in_addr parsed{};
    inet_pton(AF_INET, dotted, &parsed);
    return parsed.s_addr;
}

// The header's and the payload's integer fields are in the host's byte order; these bytes are those of
// a little-endian machine. Addresses inside attributes are in network order on every machine.
TEST(NetlinkRequest, NewAddressWithBroadcast) {
    const Request request = netlink::AddressRequest(RTM_NEWADDR, NLM_F_CREATE | NLM_F_REPLACE, 7, 3,
                                                    {Address("192.168.1.10"), 24});
    const Request expected = {
        48, 0,  0, 0, 20,  0,   0x05, 0x05,
        7,  0,  0, 0, 0,   0,   0,    0,    // nlmsghdr: RTM_NEWADDR, REQUEST|ACK|REPLACE|CREATE
        2,  24, 0, 0, 3,   0,   0,    0,    // ifaddrmsg: AF_INET /24, index 3
        8,  0,  2, 0, 192, 168, 1,    10,   // IFA_LOCAL
        8,  0,  1, 0, 192, 168, 1,    10,   // IFA_ADDRESS
        8,  0,  4, 0, 192, 168, 1,    255,  // IFA_BROADCAST
    };
    EXPECT_EQ(request, expected);
}

TEST(NetlinkRequest, DeleteAddressAndPointToPointPrefixCarryNoBroadcast) {
    const Request removal = netlink::AddressRequest(RTM_DELADDR, 0, 1, 9, {Address("10.0.0.1"), 8});
    const Request expectedRemoval = {
        40, 0, 0, 0, 21, 0, 0x05, 0, 1,  0, 0, 0, 0, 0, 0, 0, 2,  8, 0, 0,
        9,  0, 0, 0, 8,  0, 2,    0, 10, 0, 0, 1, 8, 0, 1, 0, 10, 0, 0, 1,
    };
    EXPECT_EQ(removal, expectedRemoval);
    EXPECT_EQ(netlink::AddressRequest(RTM_NEWADDR, 0, 1, 9, {Address("10.0.0.1"), 31}).size(), 40u);
    EXPECT_EQ(netlink::AddressRequest(RTM_NEWADDR, 0, 1, 9, {Address("10.0.0.1"), 30}).size(), 48u);
}

TEST(NetlinkRequest, DefaultRoutes) {
    const Request add =
        netlink::DefaultRouteRequest(RTM_NEWROUTE, NLM_F_CREATE, 9, 4, {Address("10.0.0.1"), 0, 0});
    const Request expectedAdd = {
        44, 0, 0, 0, 24,  0, 0x05, 0x04, 9, 0, 0, 0, 0, 0, 0, 0,  // RTM_NEWROUTE, REQUEST|ACK|CREATE
        2,  0, 0, 0, 254, 4, 0,    1,    0, 0, 0, 0,  // rtmsg: main table, static, universe, unicast
        8,  0, 5, 0, 10,  0, 0,    1,                 // RTA_GATEWAY
        8,  0, 4, 0, 4,   0, 0,    0,                 // RTA_OIF
    };
    EXPECT_EQ(add, expectedAdd);
    const Request removal =
        netlink::DefaultRouteRequest(RTM_DELROUTE, 0, 2, 4, {Address("10.0.0.1"), 100, 4});
    const Request expectedRemoval = {
        52, 0, 0, 0, 25,  0, 0x05, 0, 2, 0, 0, 0, 0, 0, 0, 0,  // RTM_DELROUTE, REQUEST|ACK
        2,  0, 0, 0, 254, 0, 255,  0, 0, 0, 0, 0,              // scope nowhere: matches any protocol and type
        8,  0, 5, 0, 10,  0, 0,    1,                          // RTA_GATEWAY
        8,  0, 4, 0, 4,   0, 0,    0,                          // RTA_OIF
        8,  0, 6, 0, 100, 0, 0,    0,                          // RTA_PRIORITY
    };
    EXPECT_EQ(removal, expectedRemoval);
}

TEST(NetlinkRequest, PrefixLengths) {
    const std::pair<const char*, int> cases[] = {
        {"255.255.255.0", 24}, {"255.255.255.255", 32}, {"255.255.255.254", 31}, {"128.0.0.0", 1},
        {"0.0.0.0", 0},        {"255.0.255.0", -1},     {"0.255.255.255", -1},   {"255.255.0.255", -1},
    };
    for (const auto& [mask, length] : cases) {
        EXPECT_EQ(netlink::PrefixLengthOf(Address(mask)), length) << mask;
        if (length >= 0) {
            EXPECT_EQ(netlink::DottedText(netlink::MaskOf(length)), mask);
        }
    }
}

// An answer of a route dump: header, rtmsg of a main-table IPv4 unicast default route, then the given
// attribute bytes. The vector is exactly as long as the message, so reading past it is caught.
std::vector<std::uint8_t> RouteAnswer(std::initializer_list<std::uint8_t> attributes) {
    const std::uint8_t head[] = {
        0, 0, 0, 0, 24,  0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0,  // nlmsghdr: RTM_NEWROUTE, length below
        2, 0, 0, 0, 254, 4, 0, 1, 0, 0, 0, 0,              // rtmsg: AF_INET, main, static, universe, unicast
    };
    std::vector<std::uint8_t> message(sizeof head + attributes.size());
    std::copy(std::begin(head), std::end(head), message.begin());
    std::copy(attributes.begin(), attributes.end(), message.begin() + sizeof head);
    message[0] = static_cast<std::uint8_t>(message.size());  // nlmsg_len
    return message;
}

const nlmsghdr& Header(const std::vector<std::uint8_t>& message) {
    return *reinterpret_cast<const nlmsghdr*>(message.data());
}

// An answer message of the given type and sequence number whose payload starts with an error field.
std::vector<std::uint8_t> ErrorAnswer(int error, std::uint32_t sequence = 7,
                                      std::uint16_t type = NLMSG_ERROR) {
    struct {
        nlmsghdr header;
        nlmsgerr payload;
    } answer{};
    answer.header.nlmsg_len = sizeof answer;
    answer.header.nlmsg_type = type;
    answer.header.nlmsg_seq = sequence;
    answer.payload.error = error;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&answer);
    return {bytes, bytes + sizeof answer};
}

// The message cut after its header, its length saying so.
std::vector<std::uint8_t> HeaderOnly(std::vector<std::uint8_t> message) {
    message.resize(sizeof(nlmsghdr));
    message[0] = sizeof(nlmsghdr);
    return message;
}

TEST(NetlinkAnswer, TheExchangeEndsWithTheErrnoItsAnswerCarries) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> answer;
        std::optional<int> result;
        int messagesHandedOn;
    } cases[] = {
        {"acknowledgement", ErrorAnswer(0), 0, 0},
        {"negated errno", ErrorAnswer(-ENOENT), ENOENT, 0},
        {"largest errno", ErrorAnswer(-4095), 4095, 0},
        {"most negative int", ErrorAnswer(INT_MIN), EIO, 0},
        {"below every errno", ErrorAnswer(-4096), EIO, 0},
        {"positive", ErrorAnswer(ENOENT), EIO, 0},
        {"error without its field", HeaderOnly(ErrorAnswer(-ENOENT)), EIO, 0},
        {"done", ErrorAnswer(0, 7, NLMSG_DONE), 0, 0},
        {"another request's answer", ErrorAnswer(-ENOENT, 6), std::nullopt, 0},
        {"a dump's message", ErrorAnswer(0, 7, RTM_NEWLINK), std::nullopt, 1},
    };
    for (const auto& c : cases) {
        int handedOn = 0;
        EXPECT_EQ(
            netlink::ReadAnswers(c.answer.data(), c.answer.size(), 7, [&](const nlmsghdr&) { ++handedOn; }),
            c.result)
            << c.name;
        EXPECT_EQ(handedOn, c.messagesHandedOn) << c.name;
    }
}

TEST(NetlinkAnswer, ADefaultRouteThroughTheInterfaceIsRead) {
    const auto message = RouteAnswer({
        8, 0, RTA_GATEWAY,  0, 10,  0, 0, 1,  //
        8, 0, RTA_OIF,      0, 3,   0, 0, 0,  //
        8, 0, RTA_PRIORITY, 0, 100, 0, 0, 0,
    });
    std::vector<netlink::DefaultRoute> routes;
    netlink::CollectDefaultRoute(Header(message), 3, routes);
    ASSERT_EQ(routes.size(), 1u);
    EXPECT_EQ(routes[0].gateway, Address("10.0.0.1"));
    EXPECT_EQ(routes[0].priority, 100u);
    netlink::CollectDefaultRoute(Header(message), 4, routes);
    EXPECT_EQ(routes.size(), 1u) << "a route through another interface";
}

TEST(NetlinkAnswer, AnAttributeShorterThanItsFieldIsPassedOver) {
    // A gateway attribute without payload: its neighbour's header is not its address.
    const auto emptyGateway = RouteAnswer({
        4,
        0,
        RTA_GATEWAY,
        0,  //
        8,
        0,
        RTA_OIF,
        0,
        3,
        0,
        0,
        0,
    });
    std::vector<netlink::DefaultRoute> routes;
    netlink::CollectDefaultRoute(Header(emptyGateway), 3, routes);
    ASSERT_EQ(routes.size(), 1u);
    EXPECT_EQ(routes[0].gateway, 0u);

    // The interface attribute last and empty: nothing past the message is read as its index.
    const auto emptyInterface = RouteAnswer({
        8,
        0,
        RTA_GATEWAY,
        0,
        10,
        0,
        0,
        1,  //
        4,
        0,
        RTA_OIF,
        0,
    });
    routes.clear();
    netlink::CollectDefaultRoute(Header(emptyInterface), 0, routes);
    ASSERT_EQ(routes.size(), 1u) << "no interface named: the route is not through interface 3";
    EXPECT_EQ(routes[0].gateway, Address("10.0.0.1"));

    // A two-byte priority takes nothing of the next attribute either.
    const auto shortPriority = RouteAnswer({
        6,
        0,
        RTA_PRIORITY,
        0,
        100,
        0,
        0,
        0,  //
        8,
        0,
        RTA_OIF,
        0,
        3,
        0,
        0,
        0,
    });
    routes.clear();
    netlink::CollectDefaultRoute(Header(shortPriority), 3, routes);
    ASSERT_EQ(routes.size(), 1u);
    EXPECT_EQ(routes[0].priority, 0u);
}

TEST(NetlinkAnswer, AddressesOfTheInterfaceAreRead) {
    std::vector<std::uint8_t> message = {
        0,       0,  0,           0, RTM_NEWADDR, 0,   0, 0,  1, 0, 0, 0, 0, 0, 0, 0,  //
        AF_INET, 24, 0,           0, 3,           0,   0, 0,   // ifaddrmsg: /24, index 3
        8,       0,  IFA_ADDRESS, 0, 192,         168, 1, 10,  //
        6,       0,  IFA_LOCAL,   0, 192,         168, 0, 0,   // too short: passed over
        8,       0,  IFA_LOCAL,   0, 192,         168, 1, 10,
    };
    message[0] = static_cast<std::uint8_t>(message.size());
    std::vector<netlink::Ipv4Address> addresses;
    netlink::CollectAddress(Header(message), 3, addresses);
    EXPECT_EQ(addresses, (std::vector<netlink::Ipv4Address>{{Address("192.168.1.10"), 24}}));
    netlink::CollectAddress(Header(message), 2, addresses);
    EXPECT_EQ(addresses.size(), 1u);
}

// The link dump leaves the counters out; a dump of one link's addresses or routes names the link.
TEST(NetlinkRequest, DumpsAskForWhatIsReadAndNameTheLink) {
    const Request links = {
        40, 0, 0,  0, 18, 0, 0x01, 0x03, 5, 0, 0, 0, 0, 0, 0, 0,  // RTM_GETLINK, REQUEST|DUMP
        0,  0, 0,  0, 0,  0, 0,    0,    0, 0, 0, 0, 0, 0, 0, 0,  // ifinfomsg: AF_UNSPEC, any link
        8,  0, 29, 0, 8,  0, 0,    0,                             // IFLA_EXT_MASK: RTEXT_FILTER_SKIP_STATS
    };
    EXPECT_EQ(netlink::DumpRequest(RTM_GETLINK, 5), links);
    const Request addresses = {
        24, 0, 0, 0, 22, 0, 0x01, 0x03, 6, 0, 0, 0, 0, 0, 0, 0,  // RTM_GETADDR, REQUEST|DUMP
        2,  0, 0, 0, 7,  0, 0,    0,                             // ifaddrmsg: AF_INET, link 7
    };
    EXPECT_EQ(netlink::DumpRequest(RTM_GETADDR, 6, 7), addresses);
    const Request routes = {
        36, 0, 0, 0, 26, 0, 0x01, 0x03, 7, 0, 0, 0, 0, 0, 0, 0,  // RTM_GETROUTE, REQUEST|DUMP
        2,  0, 0, 0, 0,  0, 0,    0,    0, 0, 0, 0,              // rtmsg: AF_INET, any table
        8,  0, 4, 0, 7,  0, 0,    0,                             // RTA_OIF 7
    };
    EXPECT_EQ(netlink::DumpRequest(RTM_GETROUTE, 7, 7), routes);
    EXPECT_EQ(netlink::DumpRequest(RTM_GETROUTE, 7).size(), 28u) << "no link named, no RTA_OIF";
}

using Bytes = std::vector<std::uint8_t>;

// An attribute: rtattr header, payload, padding to 4 bytes. rtaLength overrides the header's length.
Bytes Attribute(std::uint16_t type, const Bytes& payload, int rtaLength = -1) {
    const auto length = static_cast<std::uint16_t>(rtaLength >= 0 ? rtaLength : 4 + payload.size());
    Bytes bytes = {static_cast<std::uint8_t>(length & 0xFF), static_cast<std::uint8_t>(length >> 8),
                   static_cast<std::uint8_t>(type & 0xFF), static_cast<std::uint8_t>(type >> 8)};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    bytes.resize((bytes.size() + 3) / 4 * 4, 0);
    return bytes;
}

Bytes Text(const std::string& text, bool terminated = true) {
    Bytes bytes(text.begin(), text.end());
    if (terminated)
        bytes.push_back(0);
    return bytes;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// An answer of a link dump: header, ifinfomsg of an Ethernet link with the given index, attributes.
Bytes LinkAnswer(std::uint16_t messageType, std::uint8_t ifIndex, const Bytes& attributes) {
    Bytes message = {
        0, 0, 0, 0,    static_cast<std::uint8_t>(messageType),
        0, 2, 0, 1,    0,
        0, 0, 0, 0,    0,
        0,  // nlmsghdr
        0, 0, 1, 0,    ifIndex,
        0, 0, 0, 0x43, 0x10,
        1, 0, 0, 0,    0,
        0,  // ifinfomsg: ARPHRD_ETHER, up
    };
    message.insert(message.end(), attributes.begin(), attributes.end());
    message[0] = static_cast<std::uint8_t>(message.size());
    return message;
}

TEST(NetlinkAnswer, LinksOfALinkDumpAreRead) {
    const Bytes veth = Attribute(IFLA_INFO_KIND, Text("veth"));
    const Bytes portOfBridge = Attribute(IFLA_INFO_SLAVE_KIND, Text("bridge"));
    const Bytes master = Attribute(IFLA_MASTER, {3, 0, 0, 0});
    struct Case {
        const char* what;
        Bytes message;
        std::vector<netlink::Link> expected;
    };
    const Case cases[] = {
        {"a physical NIC",
         LinkAnswer(RTM_NEWLINK, 2, Attribute(IFLA_IFNAME, Text("eth0"))),
         {{"eth0", 2, 1, "", 0}}},
        {"a port of a bridge, the kind before the port's kind",
         LinkAnswer(
             RTM_NEWLINK, 5,
             Concat({Attribute(IFLA_IFNAME, Text("vp0")), master,
                     Attribute(IFLA_LINKINFO, Concat({veth, Attribute(IFLA_INFO_DATA, {}), portOfBridge}))})),
         {{"vp0", 5, 1, "veth", 3}}},
        {"a name without its NUL ends at its attribute",
         LinkAnswer(RTM_NEWLINK, 6, Concat({Attribute(IFLA_IFNAME, Text("tap0", false)), master})),
         {{"tap0", 6, 1, "", 3}}},
        {"a short master is passed over",
         LinkAnswer(RTM_NEWLINK, 7,
                    Concat({Attribute(IFLA_MASTER, {3, 0}), Attribute(IFLA_IFNAME, Text("e7"))})),
         {{"e7", 7, 1, "", 0}}},
        {"a kind longer than the link info holding it is not read",
         LinkAnswer(RTM_NEWLINK, 8,
                    Concat({Attribute(IFLA_IFNAME, Text("e8")),
                            Attribute(IFLA_LINKINFO, Attribute(IFLA_INFO_KIND, Text("veth"), 40))})),
         {{"e8", 8, 1, "", 0}}},
        {"a link without a name", LinkAnswer(RTM_NEWLINK, 9, master), {}},
        {"another kind of message", LinkAnswer(RTM_NEWADDR, 2, Attribute(IFLA_IFNAME, Text("eth0"))), {}},
    };
    for (const Case& c : cases) {
        std::vector<netlink::Link> links;
        netlink::CollectLink(Header(c.message), links);
        EXPECT_EQ(links, c.expected) << c.what;
    }
}

TEST(StaticAddress, FaultsFoundBeforeAnythingChanges) {
    struct Case {
        const char* address;
        const char* mask;
        std::optional<std::string> gateway;
        ChangeFault fault;
    };
    const Case cases[] = {
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", ChangeFault::kNone},
        {"192.168.1.10", "255.255.255.0", "", ChangeFault::kNone},
        {"192.168.1.10", "255.255.255.0", "0.0.0.0", ChangeFault::kNone},   // a blank address control
        {"192.168.1.10", "255.255.255.0", "10.0.0.1", ChangeFault::kNone},  // outside: on the link
        {"192.168.1.10", "255.255.255.0", std::nullopt, ChangeFault::kNone},
        {"10.0.0.0", "255.255.255.254", std::nullopt, ChangeFault::kNone},
        {"0.0.0.0", "255.255.255.0", std::nullopt, ChangeFault::kAddress},
        {"255.255.255.255", "255.255.255.0", std::nullopt, ChangeFault::kAddress},  // inet_addr("300.1.1.1")
        {"127.0.0.5", "255.0.0.0", std::nullopt, ChangeFault::kAddress},
        {"224.0.0.1", "255.255.255.0", std::nullopt, ChangeFault::kAddress},
        {"192.168.1.0", "255.255.255.0", std::nullopt, ChangeFault::kAddress},
        {"192.168.1.255", "255.255.255.0", std::nullopt, ChangeFault::kAddress},
        {"192.168.1.10", "255.0.255.0", std::nullopt, ChangeFault::kMask},
        {"192.168.1.10", "0.0.0.0", std::nullopt, ChangeFault::kMask},  // an empty mask text
        {"192.168.1.10", "255.255.255.0", "192.168.1.10", ChangeFault::kGateway},
        {"192.168.1.10", "255.255.255.0", "gateway", ChangeFault::kGateway},
        {"192.168.1.10", "255.255.255.0", "300.1.1.1", ChangeFault::kGateway},
        {"192.168.1.10", "255.255.255.0", "127.0.0.1", ChangeFault::kGateway},
        {"192.168.1.10", "255.255.255.0", "224.0.0.1", ChangeFault::kGateway},
    };
    for (const Case& c : cases) {
        StaticAddressChange change{"eth0", 0, Address(c.address), Address(c.mask), c.gateway};
        EXPECT_EQ(FaultOf(change), c.fault) << c.address << " " << c.mask << " " << c.gateway.value_or("-");
    }
}

TEST(StaticAddress, AGatewayNoPacketCanLeaveThroughIsRefused) {
    struct Case {
        const char* address;
        const char* mask;
        const char* gateway;
        ChangeFault fault;
    };
    const std::vector<std::uint32_t> otherLinks = {Address("10.3.0.5"), Address("172.16.0.1")};
    const Case cases[] = {
        {"192.168.1.10", "255.255.255.0", "192.168.1.0", ChangeFault::kGateway},    // the network
        {"192.168.1.10", "255.255.255.0", "192.168.1.255", ChangeFault::kGateway},  // the broadcast
        {"10.1.2.3", "255.255.0.0", "10.1.0.0", ChangeFault::kGateway},
        {"10.1.2.3", "255.255.0.0", "10.1.255.255", ChangeFault::kGateway},
        {"10.1.2.3", "255.255.0.0", "10.1.2.255", ChangeFault::kNone},    // a host of a /16
        {"10.1.2.3", "255.255.255.0", "10.1.3.0", ChangeFault::kNone},    // outside: on the link
        {"10.0.0.0", "255.255.255.254", "10.0.0.1", ChangeFault::kNone},  // a /31 has two hosts
        {"10.0.0.1", "255.255.255.254", "10.0.0.0", ChangeFault::kNone},
        {"10.0.0.1", "255.255.255.255", "10.0.0.2", ChangeFault::kNone},
        {"192.168.1.10", "255.255.255.0", "10.3.0.5", ChangeFault::kGateway},  // this machine, another link
        {"192.168.1.10", "255.255.255.0", "172.16.0.1", ChangeFault::kGateway},
        {"192.168.1.10", "255.255.255.0", "10.3.0.6", ChangeFault::kNone},
    };
    for (const Case& c : cases) {
        StaticAddressChange change{"eth0", 0, Address(c.address), Address(c.mask), c.gateway};
        EXPECT_EQ(FaultOf(change, otherLinks), c.fault) << c.address << " " << c.mask << " " << c.gateway;
    }
}

TEST(NetlinkSocket, AsksForInterfaceIndexesThroughItself) {
    netlink::Socket socket;
    EXPECT_EQ(socket.InterfaceIndex("lo"), 0) << "not open yet";
    ASSERT_EQ(socket.Open(), 0);
    EXPECT_EQ(socket.InterfaceIndex("lo"), static_cast<int>(::if_nametoindex("lo")));
    EXPECT_GT(socket.InterfaceIndex("lo"), 0);
    EXPECT_EQ(socket.InterfaceIndex("ostrelle-none"), 0);
    EXPECT_EQ(socket.InterfaceIndex(""), 0);
    EXPECT_EQ(socket.InterfaceIndex("sixteen-bytes-xx"), 0);
}

TEST(StaticAddress, AnInterfaceThatDoesNotExistChangesNothing) {
    const char* names[] = {"ostrelle-none", "", "sixteen-bytes-xx"};
    for (const char* name : names) {
        StaticAddressChange change{name, 0, Address("192.168.1.10"), Address("255.255.255.0"), std::nullopt};
        EXPECT_EQ(ApplyStaticAddressChange(change), ENODEV) << name;
    }
}

}  // namespace
