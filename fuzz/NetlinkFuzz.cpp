// A buffer as the kernel's answer to a dump: every message the reader hands on goes through the three
// collectors. The answered request's sequence number is the first message's, so the fuzzer need not guess
// it.
#include <linux/netlink.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/netlink/linux/Netlink.h"

namespace netlink = platform_linux::netlink;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Copied, so the messages are aligned as a received buffer's are.
    const std::vector<std::uint8_t> buffer(data, data + size);
    nlmsghdr first{};
    if (size >= sizeof first)
        std::memcpy(&first, buffer.data(), sizeof first);
    std::vector<netlink::Link> links;
    std::vector<netlink::Ipv4Address> addresses;
    std::vector<netlink::DefaultRoute> routes;
    netlink::ReadAnswers(buffer.data(), buffer.size(), first.nlmsg_seq, [&](const nlmsghdr& message) {
        netlink::CollectLink(message, links);
        netlink::CollectAddress(message, 1, addresses);
        netlink::CollectDefaultRoute(message, 1, routes);
    });
    return 0;
}
