#pragma once
// The few rtnetlink exchanges the program needs: dumping the links, an interface's IPv4 addresses and
// default routes, and changing the latter two. A change is built as request bytes first and sent second, so
// that the bytes can be checked on their own and the socket stays a thin pipe.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct nlmsghdr;

namespace platform_linux::netlink {

using Request = std::vector<std::uint8_t>;

struct Ipv4Address {
    std::uint32_t address = 0;  // network byte order
    std::uint8_t prefixLength = 0;
    bool operator==(const Ipv4Address&) const = default;
};

// One link of the kernel's link table.
struct Link {
    std::string name;  // the kernel's bytes
    int ifIndex = 0;
    int type = 0;      // ARPHRD_*
    std::string kind;  // the driver's link kind: "veth", "bridge", "tun", ...; empty for a physical NIC
    int master = 0;    // the bridge or bond the link is a port of; 0 for none
    bool operator==(const Link&) const = default;
};

struct DefaultRoute {
    std::uint32_t gateway = 0;  // network byte order; 0 for a route without a gateway
    std::uint32_t priority = 0;
    std::uint8_t protocol = 0;
    // The gateway is taken as on the link (RTNH_F_ONLINK) though no subnet of the interface holds it.
    bool onLink = false;
};

// RTM_NEWADDR / RTM_DELADDR for one IPv4 address of interface ifIndex. extraFlags are NLM_F_CREATE,
// NLM_F_REPLACE, ...; NLM_F_REQUEST and NLM_F_ACK are always set. A new address of a prefix shorter
// than 31 gets the subnet's broadcast address, as "ip addr add ... brd +" gives it.
Request AddressRequest(std::uint16_t type, std::uint16_t extraFlags, std::uint32_t sequence, int ifIndex,
                       const Ipv4Address& address);
// RTM_NEWROUTE / RTM_DELROUTE for a default route (0.0.0.0/0, main table) through ifIndex.
Request DefaultRouteRequest(std::uint16_t type, std::uint16_t extraFlags, std::uint32_t sequence, int ifIndex,
                            const DefaultRoute& route);
// A dump of every link (RTM_GETLINK), IPv4 address (RTM_GETADDR) or IPv4 route (RTM_GETROUTE). An
// ifIndex above 0 names the one link whose addresses or routes are wanted: a socket that checks requests
// strictly then has the kernel walk that link alone (and answer ENODEV when it is gone); on other
// kernels the dump still holds every link's, so the answers are filtered by the reader all the same.
Request DumpRequest(std::uint16_t type, std::uint32_t sequence, int ifIndex = 0);

// The number of leading one bits of a mask given in network byte order; -1 when the ones are not
// contiguous (255.0.255.0).
int PrefixLengthOf(std::uint32_t networkOrderMask);
std::uint32_t MaskOf(int prefixLength);  // network byte order
std::string DottedText(std::uint32_t networkOrderAddress);

// Sees each change request before it is sent; a nonzero errno value fails the request with it, unsent.
// Lets a test make the kernel refuse any one step of a change.
using RequestFault = std::function<int(const Request&)>;

// A NETLINK_ROUTE socket. Every call returns 0 or a positive errno value.
class Socket {
  public:
    Socket();
    explicit Socket(RequestFault fault);
    ~Socket();
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    int Open();
    bool IsOpen() const { return fd_ >= 0; }
    // The index of the named interface, 0 when there is none; asked of the kernel through this socket,
    // which saves if_nametoindex a socket of its own.
    int InterfaceIndex(const std::string& interfaceName) const;
    std::uint32_t NextSequence() { return ++sequence_; }
    // Sends a request that asks for an acknowledgement and waits for it.
    int Execute(const Request& request);
    // Sends a dump request and hands each answer message to onMessage until the dump is done.
    int Dump(const Request& request, const std::function<void(const nlmsghdr&)>& onMessage);

  private:
    static constexpr std::size_t kBufferSize = 32768;
    int Send(const Request& request);
    std::size_t ReceiveSizeFor(const Request& request);
    int fd_ = -1;
    RequestFault fault_;
    std::unique_ptr<std::uint8_t[]> buffer_;  // allocated on the first answer, kept for the next
    std::size_t receiveSize_ = 0;             // the largest receive made through this socket so far
    std::uint32_t sequence_ = 0;
};

// One received buffer of answers to the request numbered sequence: each answer message is handed to
// onMessage, answers to other requests are passed over. The exchange's result (0 or a positive errno
// value) once it ended in this buffer; nothing while more answers are to come.
std::optional<int> ReadAnswers(const std::uint8_t* data, std::size_t length, std::uint32_t sequence,
                               const std::function<void(const nlmsghdr&)>& onMessage);

// One answer message of a dump, read for interface ifIndex: an IPv4 address of it, or a default route of
// the main table through it, is appended. Messages of other kinds, families, interfaces or tables add
// nothing, and an attribute whose payload is not the size of its field is passed over.
// With other set, the addresses of every interface but ifIndex are appended instead.
void CollectAddress(const nlmsghdr& message, int ifIndex, std::vector<Ipv4Address>& addresses,
                    bool other = false);
// A link of a link dump is appended; a message of another kind, or one without an index or a name, adds
// nothing.
void CollectLink(const nlmsghdr& message, std::vector<Link>& links);
void CollectDefaultRoute(const nlmsghdr& message, int ifIndex, std::vector<DefaultRoute>& routes);

// The interface's IPv4 addresses in the kernel's order (primary addresses first, each in the order it
// was added) and the gateways of the main table's default routes through it.
int ReadAddresses(Socket& socket, int ifIndex, std::vector<Ipv4Address>& addresses);
int ReadDefaultRoutes(Socket& socket, int ifIndex, std::vector<DefaultRoute>& routes);
// The IPv4 addresses of every link but the one at exceptIfIndex, in one dump.
int ReadAddressesOfOtherLinks(Socket& socket, int exceptIfIndex, std::vector<Ipv4Address>& addresses);
// Every link of the socket's network namespace, in the kernel's order.
int ReadLinks(Socket& socket, std::vector<Link>& links);

}  // namespace platform_linux::netlink
