#include "platform/netlink/linux/Netlink.h"

#include <arpa/inet.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

// The kernel's NLMSG_* / RTA_* / IFA_* walking macros are written with C casts.
#pragma GCC diagnostic ignored "-Wold-style-cast"

namespace platform_linux::netlink {

namespace {

// Appends a header-sized struct or attribute payload, padded to NLMSG/RTA alignment (4 bytes).
template <class T>
void Append(Request& request, const T& value) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    request.insert(request.end(), bytes, bytes + sizeof value);
    request.resize(NLMSG_ALIGN(request.size()), 0);
}

void AppendAttribute(Request& request, std::uint16_t type, const void* data, std::size_t size) {
    rtattr attribute{};
    attribute.rta_len = static_cast<unsigned short>(RTA_LENGTH(size));
    attribute.rta_type = type;
    const auto* header = reinterpret_cast<const std::uint8_t*>(&attribute);
    request.insert(request.end(), header, header + sizeof attribute);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    request.insert(request.end(), bytes, bytes + size);
    request.resize(NLMSG_ALIGN(request.size()), 0);
}

Request Begin(std::uint16_t type, std::uint16_t flags, std::uint32_t sequence) {
    nlmsghdr header{};
    header.nlmsg_type = type;
    header.nlmsg_flags = flags;
    header.nlmsg_seq = sequence;
    Request request;
    Append(request, header);
    return request;
}

Request Finish(Request request) {
    const auto length = static_cast<std::uint32_t>(request.size());
    std::memcpy(request.data(), &length, sizeof length);  // nlmsg_len is the header's first field
    return request;
}

template <class T>
const T* Payload(const nlmsghdr& message) {
    if (message.nlmsg_len < NLMSG_LENGTH(sizeof(T)))
        return nullptr;
    return static_cast<const T*>(NLMSG_DATA(&message));
}

// NLMSG_OK, without the macro's comparison of the unsigned message length with a signed remainder.
bool MessageFits(const nlmsghdr* message, int remaining) {
    return remaining >= static_cast<int>(sizeof(nlmsghdr)) && message->nlmsg_len >= sizeof(nlmsghdr) &&
           message->nlmsg_len <= static_cast<unsigned>(remaining);
}

// A string attribute's text: up to its NUL, and never past its payload when the NUL is missing.
std::string StringOf(const rtattr& attribute) {
    const auto* text = static_cast<const char*>(RTA_DATA(&attribute));
    return {text, ::strnlen(text, RTA_PAYLOAD(&attribute))};
}

// IFLA_LINKINFO nests the link's kind among the driver's own attributes:
//   IFLA_LINKINFO { IFLA_INFO_KIND "veth", IFLA_INFO_SLAVE_KIND "bridge", IFLA_INFO_DATA {...} }
std::string KindOf(const rtattr& linkInfo) {
    int length = static_cast<int>(RTA_PAYLOAD(&linkInfo));
    for (auto* attribute = static_cast<const rtattr*>(RTA_DATA(&linkInfo)); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        if (attribute->rta_type == IFLA_INFO_KIND)
            return StringOf(*attribute);
    }
    return {};
}

}  // namespace

Request AddressRequest(std::uint16_t type, std::uint16_t extraFlags, std::uint32_t sequence, int ifIndex,
                       const Ipv4Address& address) {
    Request request =
        Begin(type, static_cast<std::uint16_t>(NLM_F_REQUEST | NLM_F_ACK | extraFlags), sequence);
    ifaddrmsg message{};
    message.ifa_family = AF_INET;
    message.ifa_prefixlen = address.prefixLength;
    message.ifa_scope = RT_SCOPE_UNIVERSE;
    message.ifa_index = static_cast<std::uint32_t>(ifIndex);
    Append(request, message);
    AppendAttribute(request, IFA_LOCAL, &address.address, sizeof address.address);
    AppendAttribute(request, IFA_ADDRESS, &address.address, sizeof address.address);
    if (type == RTM_NEWADDR && address.prefixLength < 31) {
        const std::uint32_t broadcast = address.address | ~MaskOf(address.prefixLength);
        AppendAttribute(request, IFA_BROADCAST, &broadcast, sizeof broadcast);
    }
    return Finish(std::move(request));
}

Request DefaultRouteRequest(std::uint16_t type, std::uint16_t extraFlags, std::uint32_t sequence, int ifIndex,
                            const DefaultRoute& route) {
    Request request =
        Begin(type, static_cast<std::uint16_t>(NLM_F_REQUEST | NLM_F_ACK | extraFlags), sequence);
    rtmsg message{};
    message.rtm_family = AF_INET;
    message.rtm_table = RT_TABLE_MAIN;
    if (type == RTM_NEWROUTE) {
        message.rtm_protocol = RTPROT_STATIC;
        message.rtm_scope = RT_SCOPE_UNIVERSE;
        message.rtm_type = RTN_UNICAST;
        if (route.onLink)
            message.rtm_flags |= RTNH_F_ONLINK;
    } else {
        // A deletion names only what identifies the route; the kernel matches the rest as wildcards.
        message.rtm_scope = RT_SCOPE_NOWHERE;
    }
    Append(request, message);
    if (route.gateway != 0)
        AppendAttribute(request, RTA_GATEWAY, &route.gateway, sizeof route.gateway);
    const auto oif = static_cast<std::uint32_t>(ifIndex);
    AppendAttribute(request, RTA_OIF, &oif, sizeof oif);
    if (route.priority != 0)
        AppendAttribute(request, RTA_PRIORITY, &route.priority, sizeof route.priority);
    return Finish(std::move(request));
}

Request DumpRequest(std::uint16_t type, std::uint32_t sequence, int ifIndex) {
    Request request = Begin(type, NLM_F_REQUEST | NLM_F_DUMP, sequence);
    if (type == RTM_GETLINK) {
        ifinfomsg message{};
        message.ifi_family = AF_UNSPEC;
        Append(request, message);
        // The links' counters are not read here, and filling them in is most of the kernel's work per
        // link; a kernel that does not know the flag fills them in all the same.
        const std::uint32_t skipStatistics = RTEXT_FILTER_SKIP_STATS;
        AppendAttribute(request, IFLA_EXT_MASK, &skipStatistics, sizeof skipStatistics);
    } else if (type == RTM_GETROUTE) {
        rtmsg message{};
        message.rtm_family = AF_INET;
        Append(request, message);
        const auto oif = static_cast<std::uint32_t>(ifIndex);
        if (ifIndex > 0)
            AppendAttribute(request, RTA_OIF, &oif, sizeof oif);
    } else {
        ifaddrmsg message{};
        message.ifa_family = AF_INET;
        message.ifa_index = ifIndex > 0 ? static_cast<std::uint32_t>(ifIndex) : 0;
        Append(request, message);
    }
    return Finish(std::move(request));
}

int PrefixLengthOf(std::uint32_t networkOrderMask) {
    const std::uint32_t mask = ntohl(networkOrderMask);
    const std::uint32_t inverted = ~mask;
    // Contiguous ones followed by zeros: the inverted mask plus one is a power of two (or zero).
    if ((inverted & (inverted + 1)) != 0)
        return -1;
    int length = 0;
    for (std::uint32_t bit = 0x80000000u; bit != 0 && (mask & bit) != 0; bit >>= 1)
        ++length;
    return length;
}

std::uint32_t MaskOf(int prefixLength) {
    if (prefixLength <= 0)
        return 0;
    if (prefixLength >= 32)
        return 0xFFFFFFFFu;
    return htonl(0xFFFFFFFFu << (32 - prefixLength));
}

std::string DottedText(std::uint32_t networkOrderAddress) {
    std::array<char, INET_ADDRSTRLEN> text{};
    ::inet_ntop(AF_INET, &networkOrderAddress, text.data(), text.size());
    return text.data();
}

Socket::Socket() = default;

Socket::Socket(RequestFault fault) : fault_(std::move(fault)) {}

Socket::~Socket() {
    if (fd_ >= 0)
        ::close(fd_);
}

int Socket::Open() {
    fd_ = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (fd_ < 0)
        return errno;
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        const int error = errno;
        ::close(fd_);
        fd_ = -1;
        return error;
    }
    // Lets a dump be limited to one link (kernels since 4.20); without it the dump is filtered here.
    const int strict = 1;
    ::setsockopt(fd_, SOL_NETLINK, NETLINK_GET_STRICT_CHK, &strict, sizeof strict);
    return 0;
}

int Socket::InterfaceIndex(const std::string& interfaceName) const {
    // Kernel names are at most 15 bytes; a longer one names no interface.
    if (fd_ < 0 || interfaceName.empty() || interfaceName.size() >= IF_NAMESIZE)
        return 0;
    ifreq request{};
    std::memcpy(request.ifr_name, interfaceName.data(), interfaceName.size());
    return ::ioctl(fd_, SIOCGIFINDEX, &request) == 0 ? request.ifr_ifindex : 0;
}

int Socket::Send(const Request& request) {
    if (fd_ < 0)
        return EBADF;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    const ssize_t sent = ::sendto(fd_, request.data(), request.size(), 0,
                                  reinterpret_cast<const sockaddr*>(&kernel), sizeof kernel);
    if (sent < 0)
        return errno;
    return static_cast<std::size_t>(sent) == request.size() ? 0 : EIO;
}

// The kernel fills each buffer of a dump up to the largest receive the socket has ever made (at most
// 32 KB) or about a page, whichever is more, and for a link dump at least one link's message: a receive
// of that size takes each buffer whole. Link dumps get the 32 KB one link may need. Other answers are
// received a page at a time, as long as the socket never received more: the kernel then allocates and
// fills page-sized buffers, which for the few addresses and routes of one link takes a third less time
// than 32 KB ones.
std::size_t Socket::ReceiveSizeFor(const Request& request) {
    nlmsghdr header{};
    std::memcpy(&header, request.data(), std::min(sizeof header, request.size()));
    static const std::size_t kPage =
        std::min<std::size_t>(static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)), 8192);
    const std::size_t wanted = header.nlmsg_type == RTM_GETLINK ? kBufferSize : kPage;
    receiveSize_ = std::max(receiveSize_, wanted);
    return receiveSize_;
}

int Socket::Execute(const Request& request) {
    if (fault_) {
        if (const int error = fault_(request))
            return error;
    }
    return Dump(request, [](const nlmsghdr&) {});
}

// Reads answers until the acknowledgement (an NLMSG_ERROR with error 0), an error, or NLMSG_DONE.
int Socket::Dump(const Request& request, const std::function<void(const nlmsghdr&)>& onMessage) {
    if (const int error = Send(request))
        return error;
    nlmsghdr sent{};
    std::memcpy(&sent, request.data(), sizeof sent);
    if (!buffer_)
        buffer_ = std::make_unique_for_overwrite<std::uint8_t[]>(kBufferSize);
    const std::size_t receiveSize = ReceiveSizeFor(request);
    for (;;) {
        // MSG_TRUNC reports a buffer's whole length: one that did not fit fails the exchange rather than
        // lose answers unseen.
        const ssize_t received = ::recv(fd_, buffer_.get(), receiveSize, MSG_TRUNC);
        if (received < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (static_cast<std::size_t>(received) > receiveSize)
            return EMSGSIZE;
        const std::optional<int> result =
            ReadAnswers(buffer_.get(), static_cast<std::size_t>(received), sent.nlmsg_seq, onMessage);
        if (result)
            return *result;
    }
}

namespace {

// The positive errno value an NLMSG_ERROR answer carries, 0 for an acknowledgement.
int ErrnoOf(const nlmsgerr& answer) {
    // The kernel sends 0 or a negated errno value; anything else is no errno, and negating INT_MIN
    // would overflow.
    constexpr int kLargestErrno = 4095;
    if (answer.error == 0)
        return 0;
    return answer.error < 0 && answer.error >= -kLargestErrno ? -answer.error : EIO;
}

}  // namespace

std::optional<int> ReadAnswers(const std::uint8_t* data, std::size_t length, std::uint32_t sequence,
                               const std::function<void(const nlmsghdr&)>& onMessage) {
    auto remaining = static_cast<int>(std::min<std::size_t>(length, INT_MAX));
    for (const auto* message = reinterpret_cast<const nlmsghdr*>(data); MessageFits(message, remaining);
         message = NLMSG_NEXT(message, remaining)) {
        if (message->nlmsg_seq != sequence)
            continue;  // a late answer to an earlier request
        if (message->nlmsg_type == NLMSG_DONE)
            return 0;
        if (message->nlmsg_type == NLMSG_ERROR) {
            const auto* error = Payload<nlmsgerr>(*message);
            return error == nullptr ? EIO : ErrnoOf(*error);
        }
        onMessage(*message);
    }
    return std::nullopt;
}

void CollectAddress(const nlmsghdr& message, int ifIndex, std::vector<Ipv4Address>& addresses, bool other) {
    const auto* address = Payload<ifaddrmsg>(message);
    if (message.nlmsg_type != RTM_NEWADDR || address == nullptr || address->ifa_family != AF_INET ||
        (static_cast<int>(address->ifa_index) == ifIndex) == other) {
        return;
    }
    int length = static_cast<int>(IFA_PAYLOAD(&message));
    for (auto* attribute = IFA_RTA(address); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        if (attribute->rta_type == IFA_LOCAL && RTA_PAYLOAD(attribute) == 4) {
            Ipv4Address found;
            std::memcpy(&found.address, RTA_DATA(attribute), 4);
            found.prefixLength = address->ifa_prefixlen;
            addresses.push_back(found);
        }
    }
}

void CollectDefaultRoute(const nlmsghdr& message, int ifIndex, std::vector<DefaultRoute>& routes) {
    const auto* route = Payload<rtmsg>(message);
    if (message.nlmsg_type != RTM_NEWROUTE || route == nullptr || route->rtm_family != AF_INET ||
        route->rtm_dst_len != 0 || route->rtm_table != RT_TABLE_MAIN || route->rtm_type != RTN_UNICAST) {
        return;
    }
    DefaultRoute found;
    found.protocol = route->rtm_protocol;
    found.onLink = (route->rtm_flags & RTNH_F_ONLINK) != 0;
    int oif = 0;
    int length = static_cast<int>(RTM_PAYLOAD(&message));
    for (auto* attribute = RTM_RTA(route); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        // Each of these is a 4-byte field: a shorter attribute would have its neighbour's bytes read as
        // its value, or bytes past the end of the message.
        if (RTA_PAYLOAD(attribute) != 4)
            continue;
        if (attribute->rta_type == RTA_OIF)
            std::memcpy(&oif, RTA_DATA(attribute), 4);
        if (attribute->rta_type == RTA_GATEWAY)
            std::memcpy(&found.gateway, RTA_DATA(attribute), 4);
        if (attribute->rta_type == RTA_PRIORITY)
            std::memcpy(&found.priority, RTA_DATA(attribute), 4);
    }
    if (oif == ifIndex)
        routes.push_back(found);
}

void CollectLink(const nlmsghdr& message, std::vector<Link>& links) {
    const auto* header = Payload<ifinfomsg>(message);
    if (message.nlmsg_type != RTM_NEWLINK || header == nullptr || header->ifi_index <= 0)
        return;
    Link found;
    found.ifIndex = header->ifi_index;
    found.type = header->ifi_type;
    int length = static_cast<int>(IFLA_PAYLOAD(&message));
    for (auto* attribute = IFLA_RTA(header); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        if (attribute->rta_type == IFLA_IFNAME)
            found.name = StringOf(*attribute);
        if (attribute->rta_type == IFLA_LINKINFO)
            found.kind = KindOf(*attribute);
        if (attribute->rta_type == IFLA_MASTER && RTA_PAYLOAD(attribute) == 4)
            std::memcpy(&found.master, RTA_DATA(attribute), 4);
    }
    if (!found.name.empty())
        links.push_back(std::move(found));
}

int ReadLinks(Socket& socket, std::vector<Link>& links) {
    links.clear();
    return socket.Dump(DumpRequest(RTM_GETLINK, socket.NextSequence()),
                       [&](const nlmsghdr& message) { CollectLink(message, links); });
}

int ReadAddresses(Socket& socket, int ifIndex, std::vector<Ipv4Address>& addresses) {
    addresses.clear();
    return socket.Dump(DumpRequest(RTM_GETADDR, socket.NextSequence(), ifIndex),
                       [&](const nlmsghdr& message) { CollectAddress(message, ifIndex, addresses); });
}

int ReadAddressesOfOtherLinks(Socket& socket, int exceptIfIndex, std::vector<Ipv4Address>& addresses) {
    addresses.clear();
    return socket.Dump(DumpRequest(RTM_GETADDR, socket.NextSequence()), [&](const nlmsghdr& message) {
        CollectAddress(message, exceptIfIndex, addresses, true);
    });
}

int ReadDefaultRoutes(Socket& socket, int ifIndex, std::vector<DefaultRoute>& routes) {
    routes.clear();
    return socket.Dump(DumpRequest(RTM_GETROUTE, socket.NextSequence(), ifIndex),
                       [&](const nlmsghdr& message) { CollectDefaultRoute(message, ifIndex, routes); });
}

}  // namespace platform_linux::netlink
