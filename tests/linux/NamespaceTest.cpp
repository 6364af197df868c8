// The adapter store against a real kernel: discovery over sysfs, the write into the hive and the
// notification through our libdhcpcsvc.so, in a network namespace the test builds.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>

#include <filesystem>
#include <fstream>

#include "NetworkNamespace.h"
#include "adapters/AdapterDiscovery.h"
#include "adapters/AdapterSettings.h"
#include "adapters/DhcpNotify.h"
#include "fakes/FakeWindowHost.h"
#include "fakes/GbkText.h"
#include "platform/dhcp/linux/LinuxDynamicLibraries.h"
#include "platform/netlink/linux/Netlink.h"
#include "platform/registry/linux/LinuxRegistry.h"

namespace {

using adapters::Ipv4Settings;
using fakes::Gbk;

class NamespaceTest : public NetworkNamespace {
  protected:
    void SetUp() override {
        NetworkNamespace::SetUp();
        if (IsSkipped())
            return;
        Ip("link add va0 type veth peer name vb0");
        Ip("link add va1 type veth peer name vb1");
        Ip("tuntap add dev tun0 mode tun");
        for (const char* link : {"va0", "vb0", "va1", "vb1", "tun0"})
            Ip(std::string("link set ") + link + " up");
        registry = platform_linux::MakeLinuxRegistry();
    }
    bool Apply(const std::string& instanceId, const char* ip, const char* mask, const char* gateway,
               const char* preferredDns = "10.9.9.9", const char* alternateDns = "") {
        const adapters::AdapterServices services{*registry, host, libraries};
        return adapters::ApplyAdapterSettings(services, instanceId, 0,
                                              {ip, mask, gateway, preferredDns, alternateDns});
    }
    std::string State() { return Ip("-4 -o addr show") + Ip("-4 route show"); }
    std::string Resolver() const { return dir.Read("resolv.conf"); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : host.MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }

    std::unique_ptr<winreg::RegistryRouter> registry;
    fakes::FakeWindowHost host;
    platform_linux::LinuxDynamicLibraries libraries{OSTRELLE_DHCPCSVC_DIR};
};

// Beside the veth pairs and the tun of every test: links that carry no address of their own (ifb, a port of
// a bridge, a tap) made between ones that do, so that both kinds are spread over the index order.
TEST_F(NamespaceTest, DiscoveryOffersExactlyTheLinksThatTakeAnAddressInIndexOrder) {
    Ip("link add ifb0 type ifb");
    Ip("link add br0 type bridge");
    Ip("link add port0 type veth peer name port1");
    Ip("link set port0 master br0");
    Ip("link add pv0 type veth peer name pv1");
    Ip("link add mv0 link va0 type macvlan mode bridge");
    Ip("tuntap add dev tap0 mode tap");
    for (const char* link : {"ifb0", "br0", "port0", "pv0", "mv0", "tap0"}) {
        if (IfIndex(link) == 0)
            GTEST_SKIP() << "this kernel cannot make " << link;
    }
    std::vector<std::pair<int, std::string>> expected;
    for (const char* link : {"va0", "vb0", "va1", "vb1", "br0", "port1", "pv0", "pv1", "mv0"})
        expected.emplace_back(IfIndex(link), link);
    std::sort(expected.begin(), expected.end());
    adapters::AdapterList list;
    ASSERT_TRUE(adapters::EnumerateAdapters(*registry, list));
    std::vector<std::pair<std::string, std::string>> listed;
    std::vector<std::pair<std::string, std::string>> wanted;
    wanted.reserve(expected.size());
    for (const adapters::AdapterInfo& adapter : list)
        listed.emplace_back(adapter.instanceId, adapter.description);
    for (const auto& [ifIndex, name] : expected)
        wanted.emplace_back(name, name);  // no device behind any of them: its own name
    EXPECT_EQ(listed, wanted);
}

TEST_F(NamespaceTest, ApplyingSetsTheAddressAndTheDefaultRouteAndReadsBack) {
    Ip("addr add 10.1.0.5/24 dev va0");
    Ip("route add default via 10.1.0.1 dev va0");
    ASSERT_TRUE(Apply("va0", "10.2.0.9", "255.255.255.0", "10.2.0.1"));
    EXPECT_TRUE(Messages().empty());
    const std::string addresses = Ip("-4 -o addr show dev va0");
    EXPECT_NE(addresses.find("inet 10.2.0.9/24"), std::string::npos) << addresses;
    EXPECT_EQ(addresses.find("10.1.0.5"), std::string::npos) << addresses;
    const std::string routes = Ip("-4 route show default");
    EXPECT_NE(routes.find("default via 10.2.0.1 dev va0"), std::string::npos) << routes;
    EXPECT_EQ(routes.find("10.1.0.1"), std::string::npos) << routes;

    Ipv4Settings settings;
    ASSERT_TRUE(adapters::ReadAdapterSettings(*registry, settings, "va0"));
    EXPECT_EQ(settings, (Ipv4Settings{"10.2.0.9", "255.255.255.0", "10.2.0.1", "10.9.9.9", ""}));

    const std::string once = State();
    ASSERT_TRUE(Apply("va0", "10.2.0.9", "255.255.255.0", "10.2.0.1"));
    EXPECT_EQ(State(), once);
}

// The library keeps its hive connection from one switch to the next; each switch must still take the
// gateway the program wrote just before it, never one it read earlier.
TEST_F(NamespaceTest, SwitchingBackAndForthTakesEachPendingGateway) {
    Ip("addr add 10.1.0.5/24 dev va0");
    const char* const addresses[] = {"10.2.0.9", "10.3.0.9", "10.2.0.9"};
    const char* const gateways[] = {"10.2.0.1", "10.3.0.1", "10.2.0.1"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(Apply("va0", addresses[i], "255.255.255.0", gateways[i]));
        const std::string routes = Ip("-4 route show default");
        EXPECT_EQ(routes, std::string("default via ") + gateways[i] + " dev va0 proto static \n") << i;
        EXPECT_NE(Ip("-4 -o addr show dev va0").find(std::string("inet ") + addresses[i] + "/24"),
                  std::string::npos);
    }
    EXPECT_TRUE(Messages().empty());
}

// Once in effect the settings are no longer pending: the key shows the kernel's state from then on.
// 300 addresses fill several of the page-sized buffers a fresh socket's dumps come in, and a part of one
// of the larger buffers the kernel fills once the socket has listed the links: both come whole.
TEST_F(NamespaceTest, DumpsLongerThanABufferComeWhole) {
    const std::string batch = dir.path / "addresses";
    {
        std::ofstream out(batch);
        for (int i = 0; i < 300; ++i)
            out << "addr add 10.9." << i / 200 << "." << i % 200 + 1 << "/32 dev va0\n";
    }
    Ip("-batch " + batch);
    namespace netlink = platform_linux::netlink;
    netlink::Socket socket;
    ASSERT_EQ(socket.Open(), 0);
    const int ifIndex = socket.InterfaceIndex("va0");
    for (int round = 0; round < 2; ++round) {
        std::vector<netlink::Ipv4Address> addresses;
        ASSERT_EQ(netlink::ReadAddresses(socket, ifIndex, addresses), 0);
        EXPECT_EQ(addresses.size(), 300u);
        std::vector<netlink::Link> links;
        ASSERT_EQ(netlink::ReadLinks(socket, links), 0);
    }
}

TEST_F(NamespaceTest, AfterASwitchTheKeyReadsTheKernelAgain) {
    ASSERT_TRUE(Apply("va0", "10.2.0.9", "255.255.255.0", "10.2.0.1"));
    Ip("addr flush dev va0");
    Ip("addr add 10.4.0.4/16 dev va0");
    adapters::Ipv4Settings adapter;
    ASSERT_TRUE(adapters::ReadAdapterSettings(*registry, adapter, "va0"));
    EXPECT_EQ(adapter.ipAddress, "10.4.0.4");
    EXPECT_EQ(adapter.subnetMask, "255.255.0.0");
    EXPECT_EQ(adapter.defaultGateway, "");
}

TEST_F(NamespaceTest, ASecondAdapterKeepsItsOwnDefaultRoute) {
    Ip("addr add 10.3.0.5/24 dev va1");
    Ip("route add default via 10.3.0.1 dev va1");
    ASSERT_TRUE(Apply("va0", "10.2.0.9", "255.255.255.0", "10.2.0.1"));
    const std::string routes = Ip("-4 route show default");
    EXPECT_NE(routes.find("via 10.3.0.1 dev va1"), std::string::npos) << routes;
    EXPECT_NE(routes.find("via 10.2.0.1 dev va0"), std::string::npos) << routes;
}

TEST_F(NamespaceTest, FailuresChangeNothingAndSayWhy) {
    Ip("addr add 10.1.0.5/24 dev va0");
    Ip("route add default via 10.1.0.1 dev va0");
    Ip("addr add 10.3.0.5/24 dev va1");
    struct Case {
        std::string instanceId;
        const char* ip;
        const char* mask;
        const char* gateway;
        const char* dns;
        std::string message;
    };
    const std::string failed = Gbk("DhcpNotifyConfigChange函数调用失败!\n原因：");
    const std::string noAdapter =
        Gbk("打开注册表失败!\n原因：找不到该适配器，它可能已被移除。请按“获取当前IP配置”后重试。");
    const Case cases[] = {
        {"nosuch0", "10.2.0.9", "255.255.255.0", "10.2.0.1", "", noAdapter},
        {"tun0-but-longer", "10.2.0.9", "255.255.255.0", "10.2.0.1", "", noAdapter},
        {"va0", "300.1.1.1", "255.255.255.0", "", "", failed + Gbk("IP地址无效。")},
        {"va0", "", "255.255.255.0", "", "", failed + Gbk("IP地址无效。")},
        {"va0", "10.2.0.9", "255.0.255.0", "", "", failed + Gbk("子网掩码无效。")},
        {"va0", "10.2.0.9", "", "", "", failed + Gbk("子网掩码无效。")},
        {"va0", "10.2.0.9", "255.255.255.0", "10.2.0.9", "", failed + Gbk("默认网关无效。")},
        {"va0", "10.2.0.9", "255.255.255.0", "10.3.0.5", "", failed + Gbk("默认网关无效。")},  // va1's
        {"va0", "10.2.0.9", "255.255.255.0", "10.2.0.1", "dns.example", failed + Gbk("DNS服务器地址无效。")},
    };
    const std::string before = State() + Resolver();
    Ipv4Settings shownBefore;
    ASSERT_TRUE(adapters::ReadAdapterSettings(*registry, shownBefore, "va0"));
    for (const Case& c : cases) {
        fakes::FakeWindowHost caseHost;
        const adapters::AdapterServices services{*registry, caseHost, libraries};
        EXPECT_FALSE(
            adapters::ApplyAdapterSettings(services, c.instanceId, 0, {c.ip, c.mask, c.gateway, c.dns, ""}))
            << c.instanceId << " " << c.ip << " " << c.mask;
        std::vector<std::string> texts;
        for (const auto& box : caseHost.MessageBoxes())
            texts.push_back(box.text);
        EXPECT_EQ(texts, std::vector<std::string>{c.message}) << c.ip;
        EXPECT_EQ(State() + Resolver(), before) << c.ip;
        // What failed to take effect is not shown as the adapter's settings either.
        Ipv4Settings shown;
        ASSERT_TRUE(adapters::ReadAdapterSettings(*registry, shown, "va0"));
        EXPECT_EQ(shown, shownBefore) << c.ip;
    }
}

// The pending settings stay in the program's memory: a hive file another program holds locked does not
// stand in a switch's way.
TEST_F(NamespaceTest, AHiveHeldLockedByAnotherProgramDoesNotStopASwitch) {
    Ip("addr add 10.1.0.5/24 dev va0");
    Ip("route add default via 10.1.0.1 dev va0");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open((dir / "hive.sqlite").c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "PRAGMA journal_mode=WAL; BEGIN IMMEDIATE; CREATE TABLE t(x)", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    EXPECT_TRUE(Apply("va0", "10.2.0.9", "255.255.255.0", "10.2.0.1"));
    sqlite3_close(other);
    EXPECT_EQ(Messages(), std::vector<std::string>{});
    EXPECT_EQ(Ip("-4 route show default"), "default via 10.2.0.1 dev va0 proto static \n");
}

// A hive deleted while the program runs is made anew by the next switch's writes, where the library
// reads them: the gateway written is the gateway that takes effect.
TEST_F(NamespaceTest, AHiveDeletedWhileRunningStillCarriesTheGateway) {
    Ip("addr add 10.1.0.5/24 dev va0");
    Ip("route add default via 10.1.0.1 dev va0");
    ASSERT_TRUE(Apply("va0", "10.1.0.6", "255.255.255.0", "10.1.0.1"));
    for (const char* file : {"hive.sqlite", "hive.sqlite-wal", "hive.sqlite-shm"})
        std::filesystem::remove(dir / file);
    ASSERT_TRUE(Apply("va0", "10.1.0.7", "255.255.255.0", "10.1.0.2"));
    EXPECT_EQ(Ip("-4 route show default"), "default via 10.1.0.2 dev va0 proto static \n");
}

TEST_F(NamespaceTest, TheIndexNamesWhichAddressIsReplaced) {
    Ip("addr add 10.1.0.5/24 dev va0");
    Ip("addr add 10.8.0.5/16 dev va0");
    const adapters::AdapterServices services{*registry, host, libraries};
    ASSERT_TRUE(adapters::NotifyDhcpClient(services, "va0", 1, "10.9.0.5", "255.255.255.0"));
    const std::string addresses = Ip("-4 -o addr show dev va0");
    EXPECT_NE(addresses.find("inet 10.1.0.5/24"), std::string::npos) << addresses;
    EXPECT_NE(addresses.find("inet 10.9.0.5/24"), std::string::npos) << addresses;
    EXPECT_EQ(addresses.find("10.8.0.5"), std::string::npos) << addresses;
}

TEST_F(NamespaceTest, ReplacingAPrimaryAddressKeepsTheOthersOfItsSubnet) {
    Ip("addr add 10.1.0.5/24 dev va0");
    Ip("addr add 10.1.0.6/24 dev va0");  // a secondary address of the same subnet
    Ip("addr add 10.8.0.5/16 dev va0");
    ASSERT_TRUE(Apply("va0", "10.1.0.7", "255.255.255.0", "10.1.0.1"));
    const std::string addresses = Ip("-4 -o addr show dev va0");
    EXPECT_NE(addresses.find("inet 10.1.0.7/24"), std::string::npos) << addresses;
    EXPECT_NE(addresses.find("inet 10.1.0.6/24"), std::string::npos) << addresses;
    EXPECT_NE(addresses.find("inet 10.8.0.5/16"), std::string::npos) << addresses;
    EXPECT_EQ(addresses.find("10.1.0.5"), std::string::npos) << addresses;
}

TEST_F(NamespaceTest, ApplyingTwiceKeepsAnAddressOfAnotherSubnet) {
    Ip("addr add 10.1.0.5/24 dev va0");
    Ip("addr add 10.8.0.5/16 dev va0");
    ASSERT_TRUE(Apply("va0", "10.1.0.7", "255.255.255.0", "10.1.0.1"));
    const std::string once = State();
    EXPECT_NE(once.find("inet 10.8.0.5/16"), std::string::npos) << once;
    EXPECT_NE(once.find("inet 10.1.0.7/24"), std::string::npos) << once;
    ASSERT_TRUE(Apply("va0", "10.1.0.7", "255.255.255.0", "10.1.0.1"));
    EXPECT_EQ(State(), once);
}

TEST_F(NamespaceTest, WithoutAPendingGatewayTheRoutesStay) {
    Ip("addr add 10.1.0.5/16 dev va0");
    Ip("route add default via 10.1.0.1 dev va0");
    const adapters::AdapterServices services{*registry, host, libraries};
    ASSERT_TRUE(adapters::NotifyDhcpClient(services, "va0", 0, "10.1.7.7", "255.255.0.0"));
    EXPECT_NE(Ip("-4 -o addr show dev va0").find("inet 10.1.7.7/16"), std::string::npos);
    EXPECT_NE(Ip("-4 route show default").find("default via 10.1.0.1 dev va0"), std::string::npos);
}

TEST_F(NamespaceTest, ABlankGatewayLeavesTheAdapterWithoutADefaultRoute) {
    Ip("addr add 10.3.0.5/24 dev va1");
    Ip("route add default via 10.3.0.1 dev va1 metric 50");
    for (const char* blank : {"", "0.0.0.0"}) {
        Ip("addr flush dev va0");
        Ip("addr add 10.1.0.5/24 dev va0");
        Ip("route add default via 10.1.0.1 dev va0");
        ASSERT_TRUE(Apply("va0", "10.1.0.6", "255.255.255.0", blank)) << blank;
        EXPECT_EQ(Ip("-4 route show default"), "default via 10.3.0.1 dev va1 metric 50 \n") << blank;
        Ipv4Settings settings;
        adapters::ReadAdapterSettings(*registry, settings, "va0");
        EXPECT_EQ(settings.ipAddress, "10.1.0.6");
        EXPECT_EQ(settings.defaultGateway, "");
    }
}

TEST_F(NamespaceTest, AGatewayOutsideTheSubnetIsTakenAsOnTheLink) {
    Ip("addr add 10.1.0.5/24 dev va0");
    ASSERT_TRUE(Apply("va0", "10.2.0.9", "255.255.255.0", "10.7.0.1"));
    EXPECT_EQ(Ip("-4 route show default"), "default via 10.7.0.1 dev va0 proto static onlink \n");
    Ipv4Settings settings;
    adapters::ReadAdapterSettings(*registry, settings, "va0");
    EXPECT_EQ(settings.defaultGateway, "10.7.0.1");
    // A later address change without a gateway of its own keeps the route, flag and all.
    const adapters::AdapterServices services{*registry, host, libraries};
    ASSERT_TRUE(adapters::NotifyDhcpClient(services, "va0", 0, "10.2.0.10", "255.255.255.0"));
    EXPECT_EQ(Ip("-4 route show default"), "default via 10.7.0.1 dev va0 proto static onlink \n");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(NamespaceTest, TheProfilesDnsServersAreTheResolversAfterTheSwitch) {
    dir.Write("resolv.conf", "# kept\nsearch lan\nnameserver 10.9.9.9\noptions edns0\n");
    ASSERT_TRUE(Apply("va0", "10.2.0.9", "255.255.255.0", "10.2.0.1", "192.0.2.53", "192.0.2.54"));
    const std::string switched =
        "# kept\nsearch lan\nnameserver 192.0.2.53\nnameserver 192.0.2.54\noptions edns0\n";
    EXPECT_EQ(Resolver(), switched);
    Ipv4Settings settings;
    adapters::ReadAdapterSettings(*registry, settings, "va0");
    EXPECT_EQ(settings.preferredDns, "192.0.2.53");
    EXPECT_EQ(settings.alternateDns, "192.0.2.54");
    // Blank DNS fields leave the resolver as it is.
    ASSERT_TRUE(Apply("va0", "10.2.0.9", "255.255.255.0", "10.2.0.1", "0.0.0.0", ""));
    EXPECT_EQ(Resolver(), switched);
    EXPECT_TRUE(Messages().empty());
}

// As under "ip netns exec" with /etc/netns/NAME/resolv.conf, or in a container: the file is bind-mounted
// over /etc/resolv.conf, where no rename can replace it.
TEST_F(NamespaceTest, AResolvConfThatIsAMountPointIsWrittenInPlace) {
    if (!std::filesystem::exists("/etc/resolv.conf"))
        GTEST_SKIP() << "this machine has no /etc/resolv.conf to mount over";
    dir.Write("netns-resolv.conf", "search lan\nnameserver 10.9.9.9\nnameserver 10.9.9.10\n");
    ASSERT_EQ(::mount((dir / "netns-resolv.conf").c_str(), "/etc/resolv.conf", nullptr, MS_BIND, nullptr), 0);
    ::unsetenv("OSTRELLE_RESOLV_CONF");
    const bool switched = Apply("va0", "10.2.0.9", "255.255.255.0", "10.2.0.1", "192.0.2.53", "");
    const std::string inEffect = dir.Read("netns-resolv.conf");
    ::umount2("/etc/resolv.conf", MNT_DETACH);
    EXPECT_TRUE(switched);
    EXPECT_EQ(inEffect, "search lan\nnameserver 192.0.2.53\n");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(NamespaceTest, DnsThatCannotBeSetChangesNothing) {
    Ip("addr add 10.1.0.5/24 dev va0");
    ::setenv("OSTRELLE_RESOLV_CONF", (dir / "no-such-folder/resolv.conf").c_str(), 1);
    const std::string before = State();
    EXPECT_FALSE(Apply("va0", "10.2.0.9", "255.255.255.0", "10.2.0.1", "192.0.2.53", ""));
    EXPECT_EQ(Messages(),
              std::vector<std::string>{
                  Gbk("DhcpNotifyConfigChange函数调用失败!\n原因：无法设置DNS服务器，IP配置没有任何改变。")});
    EXPECT_EQ(State(), before);
}

TEST_F(NamespaceTest, AFifteenByteNameIsTheLongestAndWorks) {
    const std::string name = "abcdefghijklmno";
    Ip("link add " + name + " type veth peer name " + name + "p");  // 16 bytes: refused by the kernel
    Ip("link add " + name + " type veth peer name peer15");
    Ip("link set " + name + " up");
    Ip("link set peer15 up");
    adapters::AdapterList list;
    adapters::EnumerateAdapters(*registry, list);
    const bool listed =
        std::any_of(list.begin(), list.end(), [&](const auto& a) { return a.instanceId == name; });
    EXPECT_TRUE(listed);
    ASSERT_TRUE(Apply(name, "10.4.0.2", "255.255.255.252", "10.4.0.1"));
    EXPECT_NE(Ip("-4 -o addr show dev " + name).find("inet 10.4.0.2/30"), std::string::npos);
}

TEST_F(NamespaceTest, AnInterfaceNamedInChineseIsListedAndSwitched) {
    // The kernel keeps the name's UTF-8 bytes; the program sees them as GBK text.
    const std::string utf8Name = "网卡0";  // this source is UTF-8
    Ip("link add " + utf8Name + " type veth peer name cnpeer");
    Ip("link set " + utf8Name + " up");
    Ip("link set cnpeer up");
    adapters::AdapterList list;
    adapters::EnumerateAdapters(*registry, list);
    const auto found =
        std::find_if(list.begin(), list.end(), [](const auto& a) { return a.instanceId == Gbk("网卡0"); });
    ASSERT_NE(found, list.end());
    ASSERT_TRUE(Apply(found->instanceId, "10.5.0.2", "255.255.255.0", "10.5.0.1"));
    EXPECT_NE(Ip("-4 -o addr show dev " + utf8Name).find("inet 10.5.0.2/24"), std::string::npos);
    EXPECT_NE(Ip("-4 route show default").find("via 10.5.0.1 dev " + utf8Name), std::string::npos);
}

TEST_F(NamespaceTest, AnInterfaceThatGoesAwayAfterDiscoveryIsRefused) {
    adapters::AdapterList list;
    adapters::EnumerateAdapters(*registry, list);
    ASSERT_FALSE(list.empty());
    Ip("link del va1");
    EXPECT_FALSE(Apply("va1", "10.2.0.9", "255.255.255.0", ""));
    EXPECT_EQ(Messages(),
              std::vector<std::string>{Gbk(
                  "打开注册表失败!\n原因：找不到该适配器，它可能已被移除。请按“获取当前IP配置”后重试。")});
}

}  // namespace
