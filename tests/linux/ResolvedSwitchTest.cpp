// A switch where systemd-resolved serves the namespace: the profile's DNS servers become the link's in
// the resolver, and resolv.conf is left alone. A resolver that serves another namespace is never told.
#include <gtest/gtest.h>

#include <cstdlib>

#include "NetworkNamespace.h"
#include "PrivateResolved.h"
#include "adapters/AdapterSettings.h"
#include "adapters/DhcpNotify.h"
#include "fakes/FakeWindowHost.h"
#include "platform/dhcp/linux/LinuxDynamicLibraries.h"
#include "platform/registry/linux/LinuxRegistry.h"

namespace {

class ResolvedSwitchTest : public NetworkNamespace {
  protected:
    void SetUp() override {
        NetworkNamespace::SetUp();
        if (IsSkipped())
            return;
        Ip("link add va0 type veth peer name vb0");
        Ip("link set va0 up");
        Ip("link set vb0 up");
        Ip("addr add 10.1.0.5/24 dev va0");
        registry = platform_linux::MakeLinuxRegistry();
    }
    void TearDown() override {
        ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
        NetworkNamespace::TearDown();
    }
    // Starts the resolver and points the program at its bus; false when it cannot start, with the reason
    // as a skip (a missing precondition) or a failure.
    bool StartResolver(PrivateResolved& resolved) {
        if (!resolved.Up()) {
            skipReason = resolved.SkipReason();
            if (skipReason.empty())
                ADD_FAILURE() << resolved.Error();
            return false;
        }
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", resolved.BusAddress().c_str(), 1);
        return true;
    }
    bool Switch(const char* preferredDns, const char* alternateDns) {
        const adapters::AdapterServices services{*registry, host, libraries};
        return adapters::ApplyAdapterSettings(
            services, "va0", 0, {"10.2.0.9", "255.255.255.0", "10.2.0.1", preferredDns, alternateDns});
    }

    std::string skipReason;
    std::unique_ptr<winreg::RegistryRouter> registry;
    fakes::FakeWindowHost host;
    platform_linux::LinuxDynamicLibraries libraries{OSTRELLE_DHCPCSVC_DIR};
};

TEST_F(ResolvedSwitchTest, TheProfilesServersBecomeTheLinksInTheResolver) {
    PrivateResolved resolved("/proc/thread-self/ns/net", dir / "resolved");
    if (!StartResolver(resolved)) {
        if (!skipReason.empty())
            GTEST_SKIP() << skipReason;
        return;
    }
    ASSERT_TRUE(Switch("192.0.2.53", "192.0.2.54"));
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(resolved.LinkDns("va0"), (std::vector<std::string>{"192.0.2.53", "192.0.2.54"}));
    EXPECT_EQ(dir.Read("resolv.conf"), "nameserver 10.9.9.9\n") << "resolv.conf is the resolver's";
    EXPECT_TRUE(resolved.LinkDns("vb0").empty());

    adapters::Ipv4Settings settings;
    ASSERT_TRUE(adapters::ReadAdapterSettings(*registry, settings, "va0"));
    EXPECT_EQ(settings,
              (adapters::Ipv4Settings{"10.2.0.9", "255.255.255.0", "10.2.0.1", "192.0.2.53", "192.0.2.54"}));

    // Blank fields leave the link's servers as they are.
    ASSERT_TRUE(Switch("", "0.0.0.0"));
    EXPECT_EQ(resolved.LinkDns("va0"), (std::vector<std::string>{"192.0.2.53", "192.0.2.54"}));
}

// As with "ip netns exec" on a desktop: the host's resolver is on the bus, but its links are not ours.
TEST_F(ResolvedSwitchTest, AResolverOfAnotherNamespaceIsNeverTold) {
    const std::string other = "ostrelle-other-" + std::to_string(::getpid());
    Ip("netns add " + other);
    {
        PrivateResolved resolved("/run/netns/" + other, dir / "resolved");
        if (!StartResolver(resolved) && !skipReason.empty()) {
            Ip("netns del " + other);
            GTEST_SKIP() << skipReason;
        }
        if (!HasFailure()) {
            ASSERT_TRUE(Switch("192.0.2.53", ""));
            EXPECT_EQ(dir.Read("resolv.conf"), "nameserver 192.0.2.53\n");
            std::string servers;
            EXPECT_TRUE(
                resolved.Busctl({"get-property", "org.freedesktop.resolve1", "/org/freedesktop/resolve1",
                                 "org.freedesktop.resolve1.Manager", "DNS"},
                                servers));
            EXPECT_EQ(servers, "a(iiay) 0\n");
        }
    }
    Ip("netns del " + other);
}

}  // namespace
