// Our libdhcpcsvc.so as the program loads it: found by its bare name beside the executable, exporting
// the one function, refusing what it cannot apply without touching the network.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/dhcp/DhcpStatus.h"
#include "platform/dhcp/linux/LinuxDynamicLibraries.h"
#include "platform/registry/linux/PendingTcpipSettings.h"
#include "support/TempDir.h"

namespace {

class DhcpcsvcLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override { ::setenv("OSTRELLE_HIVE_PATH", (dir / "hive.sqlite").c_str(), 1); }
    void TearDown() override { ::unsetenv("OSTRELLE_HIVE_PATH"); }

    TempDir dir;
    platform_linux::LinuxDynamicLibraries libraries{OSTRELLE_DHCPCSVC_DIR};
};

TEST_F(DhcpcsvcLibraryTest, LoadsByBareNameAndExportsOnlyTheNotification) {
    win::HMODULE module = libraries.LoadLibrary("dhcpcsvc");
    ASSERT_NE(module, nullptr);
    EXPECT_NE(libraries.GetProcAddress(module, "DhcpNotifyConfigChange"), nullptr);
    EXPECT_EQ(libraries.GetProcAddress(module, "ApplyStaticAddressChange"), nullptr);
    EXPECT_TRUE(libraries.FreeLibrary(module));
    EXPECT_EQ(libraries.LoadLibrary("ostrelle-no-such-library"), nullptr);
}

TEST_F(DhcpcsvcLibraryTest, RefusesWhatItCannotApply) {
    win::HMODULE module = libraries.LoadLibrary("dhcpcsvc");
    ASSERT_NE(module, nullptr);
    const auto notify = reinterpret_cast<win::DhcpNotifyConfigChangeFunction>(
        libraries.GetProcAddress(module, "DhcpNotifyConfigChange"));
    ASSERT_NE(notify, nullptr);
    const std::uint32_t address = 0x0A01A8C0;  // 192.168.1.10 in memory order on a little-endian machine
    const std::uint32_t mask = 0x00FFFFFF;     // 255.255.255.0
    EXPECT_EQ(notify(u"server", u"eth0", 1, 0, address, mask, 0), win::kDhcpInvalidParameter);
    EXPECT_EQ(notify(nullptr, nullptr, 1, 0, address, mask, 0), win::kDhcpInvalidParameter);
    EXPECT_EQ(notify(nullptr, u"eth0", 1, 0, address, mask, 1), win::kDhcpInvalidParameter);
    EXPECT_EQ(notify(nullptr, u"ostrelle-none", 1, 0, address, mask, 0), win::kDhcpNoSuchAdapter);
    EXPECT_EQ(notify(nullptr, u"ostrelle-none", 1, 0, 0xFFFFFFFF, mask, 0), win::kDhcpBadAddress);
    EXPECT_EQ(notify(nullptr, u"ostrelle-none", 1, 0, address, 0x00FF00FF, 0), win::kDhcpBadMask);
    EXPECT_EQ(notify(nullptr, u"ostrelle-none", 0, 0, address, mask, 0),
              0u);  // no new address: nothing to do

    // The pending values the program wrote are checked before anything is touched.
    auto store = platform_linux::OpenPendingStore(dir / "hive.sqlite");
    ASSERT_NE(store, nullptr);
    platform_linux::PendingTcpipSettings pending(*store);
    const auto text = [](std::string_view value) {
        winreg::RegistryValue stored{win::REG_SZ, {value.begin(), value.end()}};
        stored.data.push_back(0);
        return stored;
    };
    ASSERT_EQ(pending.Set("ostrelle-none", "NameServer", text("192.0.2.53,dns.example")), 0);
    EXPECT_EQ(notify(nullptr, u"ostrelle-none", 1, 0, address, mask, 0), win::kDhcpBadNameServer);
    ASSERT_EQ(pending.Set("ostrelle-none", "DefaultGateway", text("192.168.1.10")), 0);
    EXPECT_EQ(notify(nullptr, u"ostrelle-none", 1, 0, address, mask, 0), win::kDhcpBadGateway);
    libraries.FreeLibrary(module);
}

}  // namespace
