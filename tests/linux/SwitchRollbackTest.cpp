// A switch the kernel refuses half-way puts the link back exactly as it was: every request of a switch is
// failed in turn, and the link's addresses and routes are compared with what they were before.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <regex>

#include "NetworkNamespace.h"
#include "platform/dhcp/linux/StaticAddress.h"

namespace {

using platform_linux::StaticAddressChange;

// An address's remaining lifetimes count down while the test runs: they are taken out of the text and
// compared apart, with a few seconds' tolerance.
struct LinkDump {
    std::string text;
    std::vector<long> lifetimes;
};

LinkDump Normalised(const std::string& dump) {
    static const std::regex lifetime("(valid|preferred)_lft (\\d+)sec");
    LinkDump result;
    for (auto it = std::sregex_iterator(dump.begin(), dump.end(), lifetime); it != std::sregex_iterator();
         ++it)
        result.lifetimes.push_back(std::atol((*it)[2].str().c_str()));
    result.text = std::regex_replace(dump, lifetime, "$1_lft #sec");
    return result;
}

void ExpectSameLink(const LinkDump& before, const LinkDump& after, const std::string& context) {
    EXPECT_EQ(after.text, before.text) << context;
    ASSERT_EQ(after.lifetimes.size(), before.lifetimes.size()) << context;
    for (std::size_t i = 0; i < before.lifetimes.size(); ++i)
        EXPECT_NEAR(after.lifetimes[i], before.lifetimes[i], 5) << context;
}

class SwitchRollbackTest : public NetworkNamespace {
  protected:
    void SetUp() override {
        NetworkNamespace::SetUp();
        if (!IsSkipped())
            MakeLink();
    }
    static void MakeLink() {
        Ip("link del va0");
        Ip("link add va0 type veth peer name vb0");
        Ip("link set va0 up");
        Ip("link set vb0 up");
        // What a DHCP client and an administrator leave on a link: a leased address with its lifetimes,
        // secondary addresses in the order they came, one of another subnet, default routes of other
        // protocols with a preferred source and metrics, a route of another table.
        Ip("addr add 10.1.0.5/24 dev va0 valid_lft 3000 preferred_lft 2000");
        Ip("addr add 10.1.0.7/24 dev va0");
        Ip("addr add 10.1.0.6/24 dev va0 label va0:two");
        Ip("addr add 10.8.0.5/16 dev va0");
        Ip("route add default via 10.1.0.1 dev va0 proto dhcp src 10.1.0.5 metric 100");
        Ip("route add default via 10.8.0.1 dev va0 proto boot metric 200");
        Ip("route add 192.168.7.0/24 via 10.1.0.254 dev va0 proto static src 10.1.0.6");
        Ip("route add default via 10.8.0.2 dev va0 table 7");
    }
    static LinkDump Link() {
        return Normalised(Ip("-4 -d addr show dev va0") + Ip("-4 -d route show table all dev va0"));
    }
};

TEST_F(SwitchRollbackTest, EveryRefusedRequestPutsTheLinkBackExactly) {
    struct Case {
        std::uint32_t index;
        const char* address;
        const char* mask;
        std::optional<std::string> gateway;
    };
    const Case cases[] = {
        {0, "10.1.0.9", "255.255.255.0", "10.1.0.2"},    // the leased primary, in its own subnet
        {0, "10.2.0.9", "255.255.255.0", "10.2.0.1"},    // the primary, into another subnet
        {0, "10.1.0.9", "255.255.255.0", ""},            // and no default route
        {0, "10.1.0.9", "255.255.255.0", std::nullopt},  // routes that went with the address put back
        {0, "10.2.0.9", "255.255.255.0", std::nullopt},  // only where the new subnet reaches them
        {3, "10.1.0.9", "255.255.255.0", "10.8.0.1"},    // the address of another subnet
    };
    for (const Case& c : cases) {
        MakeLink();
        const LinkDump before = Link();
        StaticAddressChange change;
        change.interfaceName = "va0";
        change.index = c.index;
        change.address = ::inet_addr(c.address);
        change.mask = ::inet_addr(c.mask);
        change.gateway = c.gateway;
        const std::string context = std::string(c.address) + " " + c.gateway.value_or("(none)");
        for (int failing = 1;; ++failing) {
            int sent = 0;
            const auto refuseOne = [&](const platform_linux::netlink::Request&) {
                return ++sent == failing ? EPERM : 0;
            };
            const int result = platform_linux::ApplyStaticAddressChange(change, refuseOne);
            if (sent < failing) {
                // Every request went through: the switch is done.
                EXPECT_EQ(result, 0) << context;
                break;
            }
            EXPECT_EQ(result, EPERM) << context << ", request " << failing;
            ExpectSameLink(before, Link(), context + ", request " + std::to_string(failing));
            if (::testing::Test::HasFailure())
                return;
        }
    }
}

}  // namespace
