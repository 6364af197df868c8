// A switch where NetworkManager manages the link in the program's namespace: the profile goes into the
// link's connection, on disk and on the running device, and stays there across a reapply and a restart
// of the daemon. A failed switch leaves the connection and the kernel as they were, and a NetworkManager
// that serves another namespace is never told.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "NetworkNamespace.h"
#include "PrivateNetworkManager.h"
#include "adapters/AdapterSettings.h"
#include "adapters/DhcpNotify.h"
#include "fakes/FakeWindowHost.h"
#include "fakes/GbkText.h"
#include "platform/dhcp/linux/LinuxDynamicLibraries.h"
#include "platform/networkmanager/linux/NmLink.h"
#include "platform/registry/linux/LinuxRegistry.h"

namespace {

constexpr const char* kConnection = R"([connection]
id=wired
uuid=6e2b6c1a-8a0e-4b8c-9f0e-0123456789ab
type=ethernet
interface-name=va0

[ipv4]
method=manual
address1=10.1.0.5/24,10.1.0.1
dns=10.9.9.9;

[ipv6]
method=ignore
)";

std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

class NetworkManagerSwitchTest : public NetworkNamespace {
  protected:
    void SetUp() override {
        NetworkNamespace::SetUp();
        if (IsSkipped())
            return;
        Ip("link add va0 type veth peer name vb0");
        // The peer is left to us: without it up the managed end has no carrier.
        Ip("link set vb0 up");
        registry = platform_linux::MakeLinuxRegistry();
    }
    void TearDown() override {
        ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
        NetworkNamespace::TearDown();
    }
    // Starts the daemon with the wired connection of va0 and waits until it has the link activated; false
    // with the reason as a skip (a missing precondition) or a failure.
    bool Start(PrivateNetworkManager& nm, const std::filesystem::path& state) {
        std::filesystem::create_directories(state / "connections");
        std::ofstream(state / "connections" / "wired.nmconnection") << kConnection;
        std::filesystem::permissions(
            state / "connections" / "wired.nmconnection",
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        if (!nm.Up()) {
            skipReason = nm.SkipReason();
            if (skipReason.empty())
                ADD_FAILURE() << nm.Error();
            return false;
        }
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", nm.BusAddress().c_str(), 1);
        if (!nm.WaitActivated("va0")) {
            ADD_FAILURE() << nm.Error();
            return false;
        }
        return true;
    }
    bool Switch(const adapters::Ipv4Settings& settings) {
        const adapters::AdapterServices services{*registry, host, libraries};
        return adapters::ApplyAdapterSettings(services, "va0", 0, settings);
    }
    // What the connection says: method, addresses, gateway, DNS servers, one a line.
    static std::string ConnectionIpv4(const PrivateNetworkManager& nm) {
        return Trimmed(nm.Cli(
            {"-g", "ipv4.method,ipv4.addresses,ipv4.gateway,ipv4.dns", "connection", "show", "wired"}));
    }
    // What the kernel says: the addresses of va0 and its default route.
    static std::string Kernel() {
        std::istringstream lines(Ip("-o -4 addr show dev va0") + Ip("-4 route show default dev va0"));
        std::string result;
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string word;
            std::string previous;
            while (words >> word) {
                if (previous == "inet" || previous == "via")
                    result += (result.empty() ? "" : " ") + word;
                previous = word;
            }
        }
        return result;
    }

    std::string skipReason;
    std::unique_ptr<winreg::RegistryRouter> registry;
    fakes::FakeWindowHost host;
    platform_linux::LinuxDynamicLibraries libraries{OSTRELLE_DHCPCSVC_DIR};
};

#define START_OR_SKIP(nm, state)        \
    if (!Start(nm, state)) {            \
        if (!skipReason.empty())        \
            GTEST_SKIP() << skipReason; \
        return;                         \
    }

const std::string kBefore = "manual\n10.1.0.5/24\n10.1.0.1\n10.9.9.9";

TEST_F(NetworkManagerSwitchTest, TheProfileGoesIntoTheConnectionAndStaysThere) {
    PrivateNetworkManager nm("/proc/thread-self/ns/net", dir / "nm", "vb0");
    START_OR_SKIP(nm, dir / "nm");
    ASSERT_EQ(ConnectionIpv4(nm), kBefore);

    ASSERT_TRUE(Switch({"10.2.0.9", "255.255.255.0", "10.2.0.1", "192.0.2.53", "192.0.2.54"}));
    EXPECT_TRUE(host.MessageBoxes().empty());
    const std::string after = "manual\n10.2.0.9/24\n10.2.0.1\n192.0.2.53,192.0.2.54";
    EXPECT_EQ(ConnectionIpv4(nm), after);
    EXPECT_EQ(Kernel(), "10.2.0.9/24 10.2.0.1");
    adapters::Ipv4Settings read;
    ASSERT_TRUE(adapters::ReadAdapterSettings(*registry, read, "va0"));
    EXPECT_EQ(read.ipAddress, "10.2.0.9");
    EXPECT_EQ(read.subnetMask, "255.255.255.0");
    EXPECT_EQ(read.defaultGateway, "10.2.0.1");

    EXPECT_EQ(Trimmed(nm.Cli({"device", "reapply", "va0"})),
              "Connection successfully reapplied to device 'va0'.");
    EXPECT_EQ(Kernel(), "10.2.0.9/24 10.2.0.1");
    ASSERT_TRUE(nm.Restart()) << nm.Error();
    ASSERT_TRUE(nm.WaitActivated("va0")) << nm.Error();
    EXPECT_EQ(ConnectionIpv4(nm), after);
    EXPECT_EQ(Kernel(), "10.2.0.9/24 10.2.0.1");

    // A blank gateway removes the connection's, blank DNS fields keep its servers.
    ASSERT_TRUE(Switch({"10.2.0.10", "255.255.0.0", "", "", "0.0.0.0"}));
    EXPECT_EQ(ConnectionIpv4(nm), "manual\n10.2.0.10/16\n\n192.0.2.53,192.0.2.54");
    EXPECT_EQ(Kernel(), "10.2.0.10/16");
}

// The connection's file cannot be written: NetworkManager refuses the update, and the user is told why.
TEST_F(NetworkManagerSwitchTest, AConnectionThatCannotBeWrittenLeavesEverythingAsItWas) {
    PrivateNetworkManager nm("/proc/thread-self/ns/net", dir / "nm", "vb0");
    START_OR_SKIP(nm, dir / "nm");
    const std::string connections = (dir.path / "nm" / "connections").string();
    ASSERT_EQ(std::system(("nsenter --mount=/proc/" + std::to_string(nm.DaemonPid()) +
                           "/ns/mnt mount --bind -o ro " + connections + " " + connections)
                              .c_str()),
              0);

    EXPECT_FALSE(Switch({"10.2.0.9", "255.255.255.0", "10.2.0.1", "192.0.2.53", ""}));
    ASSERT_EQ(host.MessageBoxes().size(), 1U);
    EXPECT_NE(host.MessageBoxes()[0].text.find(
                  fakes::Gbk("原因：管理该网卡的NetworkManager拒绝了这次更改，IP配置没有任何改变。")),
              std::string::npos);
    EXPECT_EQ(ConnectionIpv4(nm), kBefore);
    EXPECT_EQ(Kernel(), "10.1.0.5/24 10.1.0.1");
}

// Reapply refused after the update was written: the connection's settings go back, on disk and device.
TEST_F(NetworkManagerSwitchTest, ARefusedReapplyPutsTheConnectionBack) {
    PrivateNetworkManager nm("/proc/thread-self/ns/net", dir / "nm", "vb0");
    START_OR_SKIP(nm, dir / "nm");
    const auto link = networkmanager::NmLink::Find("va0");
    ASSERT_TRUE(link);
    const networkmanager::Ipv4Switch change{{"10.2.0.9", 24}, 0, "10.2.0.1", {"192.0.2.53"}};
    const auto refuse = [](const std::string& method) {
        return method == "Reapply" ? "org.freedesktop.NetworkManager.Device.Failed" : "";
    };
    EXPECT_EQ(link->Switch(change, refuse), networkmanager::NmResult::kRefused);
    EXPECT_EQ(ConnectionIpv4(nm), kBefore);
    EXPECT_EQ(Kernel(), "10.1.0.5/24 10.1.0.1");
    EXPECT_EQ(Trimmed(nm.Cli({"device", "reapply", "va0"})),
              "Connection successfully reapplied to device 'va0'.");
    EXPECT_EQ(Kernel(), "10.1.0.5/24 10.1.0.1");
}

// Where NetworkManager will not reapply the change to the running device, the connection is activated
// again: the switch takes longer and takes the link down for a moment, but it takes effect.
TEST_F(NetworkManagerSwitchTest, AnIncompatibleReapplyFallsBackToActivatingAgain) {
    PrivateNetworkManager nm("/proc/thread-self/ns/net", dir / "nm", "vb0");
    START_OR_SKIP(nm, dir / "nm");
    const auto link = networkmanager::NmLink::Find("va0");
    ASSERT_TRUE(link);
    const networkmanager::Ipv4Switch change{{"10.2.0.9", 24}, 0, "10.2.0.1", {"192.0.2.53"}};
    const auto incompatible = [](const std::string& method) {
        return method == "Reapply" ? "org.freedesktop.NetworkManager.Device.IncompatibleConnection" : "";
    };
    EXPECT_EQ(link->Switch(change, incompatible), networkmanager::NmResult::kSwitched);
    EXPECT_EQ(ConnectionIpv4(nm), "manual\n10.2.0.9/24\n10.2.0.1\n192.0.2.53");
    EXPECT_EQ(Kernel(), "10.2.0.9/24 10.2.0.1");
}

// As with "ip netns exec" on a desktop: the host's NetworkManager is on the bus and has a link of the same
// name, but it is not ours; the switch goes to our kernel directly.
TEST_F(NetworkManagerSwitchTest, ANetworkManagerOfAnotherNamespaceIsNeverTold) {
    const std::string other = "ostrelle-nm-" + std::to_string(::getpid());
    Ip("netns add " + other);
    Ip("-n " + other + " link add va0 type veth peer name vb0");
    Ip("-n " + other + " link set vb0 up");
    Ip("addr add 10.1.0.5/24 dev va0");
    Ip("link set va0 up");
    {
        PrivateNetworkManager nm("/run/netns/" + other, dir / "nm", "vb0");
        if (!Start(nm, dir / "nm") && !skipReason.empty()) {
            Ip("netns del " + other);
            GTEST_SKIP() << skipReason;
        }
        if (!HasFailure()) {
            ASSERT_TRUE(Switch({"10.2.0.9", "255.255.255.0", "10.2.0.1", "", ""}));
            EXPECT_EQ(Kernel(), "10.2.0.9/24 10.2.0.1");
            EXPECT_EQ(ConnectionIpv4(nm), kBefore);
        }
    }
    Ip("netns del " + other);
}

}  // namespace
