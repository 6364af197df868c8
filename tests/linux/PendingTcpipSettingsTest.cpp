// The settings a switch leaves pending for libdhcpcsvc.so: kept per interface, exactly as written, until
// the library clears them, in a store of the process's own.
#include "platform/registry/linux/PendingTcpipSettings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"

namespace {

using platform_linux::PendingTcpipSettings;
using platform_linux::SqliteHive;
using winreg::RegistryValue;

RegistryValue Bytes(win::DWORD type, const std::string& bytes) {
    return {type, {bytes.begin(), bytes.end()}};
}

class PendingTcpipSettingsTest : public ::testing::Test {
  protected:
    // The value as a string of its bytes; "<none>" when it is not pending.
    std::string Pending(std::string_view interfaceName, std::string_view valueName) {
        RegistryValue value;
        if (pending.Query(interfaceName, valueName, value) != win::ERROR_SUCCESS)
            return "<none>";
        return std::to_string(value.type) + ":" + std::string(value.data.begin(), value.data.end());
    }

    TempDir dir;
    std::unique_ptr<SqliteHive> hive = platform_linux::OpenPendingStore(dir / "hive.sqlite");
    PendingTcpipSettings pending{*hive};
};

// Every connection to one hive's store sees the same values, which stay off the hive file, apart from
// another hive's; they end with the store's last connection, as values still pending when the program
// ends never took effect.
TEST_F(PendingTcpipSettingsTest, OneStorePerHiveWhileAConnectionLasts) {
    ASSERT_EQ(pending.Set("eth0", "IPAddress", Bytes(win::REG_SZ, "a")), win::ERROR_SUCCESS);
    auto second = platform_linux::OpenPendingStore(dir / "hive.sqlite");
    auto otherHive = platform_linux::OpenPendingStore(dir / "other.sqlite");
    ASSERT_NE(second, nullptr);
    ASSERT_NE(otherHive, nullptr);
    EXPECT_TRUE(PendingTcpipSettings(*second).Text("eth0", "IPAddress").has_value());
    EXPECT_FALSE(PendingTcpipSettings(*otherHive).Text("eth0", "IPAddress").has_value());
    EXPECT_FALSE(std::filesystem::exists(dir / "hive.sqlite"));
    hive.reset();
    second.reset();
    auto later = platform_linux::OpenPendingStore(dir / "hive.sqlite");
    EXPECT_FALSE(PendingTcpipSettings(*later).Text("eth0", "IPAddress").has_value());
}

TEST_F(PendingTcpipSettingsTest, NamesCompareAsRegistryNamesDo) {
    ASSERT_EQ(pending.Set("eth0", "IPAddress", Bytes(win::REG_MULTI_SZ, {"10.0.0.5\0\0", 10})),
              win::ERROR_SUCCESS);
    // "\x81\x41" and "\x81\x61" are two GBK characters whose trail bytes are 'A' and 'a'.
    ASSERT_EQ(pending.Set("\x81\x41", "IPAddress", Bytes(win::REG_SZ, "gbk")), win::ERROR_SUCCESS);
    const struct {
        const char* interfaceName;
        const char* valueName;
        std::string expected;
    } cases[] = {
        {"eth0", "IPAddress", std::string("7:10.0.0.5\0\0", 12)},
        {"ETH0", "ipaddress", std::string("7:10.0.0.5\0\0", 12)},
        {"eth1", "IPAddress", "<none>"},
        {"eth0", "SubnetMask", "<none>"},
        {"\x81\x41", "IPADDRESS", "1:gbk"},
        {"\x81\x61", "IPAddress", "<none>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Pending(c.interfaceName, c.valueName), c.expected) << c.interfaceName << " " << c.valueName;
}

TEST_F(PendingTcpipSettingsTest, ALaterWriteReplacesAndClearingEndsOneInterfaceOnly) {
    pending.Set("eth0", "DefaultGateway", Bytes(win::REG_MULTI_SZ, {"10.0.0.1\0\0", 10}));
    pending.Set("eth0", "NameServer", Bytes(win::REG_SZ, {"10.0.0.53,\0", 11}));
    pending.Set("eth1", "NameServer", Bytes(win::REG_SZ, {"10.1.0.53,\0", 11}));
    ASSERT_EQ(pending.Set("Eth0", "DEFAULTGATEWAY", Bytes(win::REG_MULTI_SZ, {"10.0.0.2\0\0", 10})),
              win::ERROR_SUCCESS);
    EXPECT_EQ(pending.Text("eth0", "DefaultGateway"), "10.0.0.2") << "the text up to its first NUL";
    EXPECT_EQ(pending.Text("eth0", "NameServer"), "10.0.0.53,");
    EXPECT_EQ(pending.Text("eth0", "IPAddress"), std::nullopt);

    EXPECT_EQ(pending.Delete("eth0", "nameserver"), win::ERROR_SUCCESS);
    EXPECT_EQ(pending.Delete("eth0", "NameServer"), win::ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(pending.Clear("eth0"), win::ERROR_SUCCESS);
    EXPECT_EQ(Pending("eth0", "DefaultGateway"), "<none>");
    EXPECT_EQ(pending.Text("eth1", "NameServer"), "10.1.0.53,") << "another interface's settings went too";
}

}  // namespace
