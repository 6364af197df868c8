#include "adapters/AdapterSettings.h"

#include <gtest/gtest.h>

#include "fakes/AdapterKeys.h"
#include "fakes/FakeDynamicLibraries.h"
#include "fakes/FakeWindowHost.h"
#include "fakes/GbkText.h"

namespace {

using adapters::Ipv4Settings;
using fakes::Gbk;
using fakes::kInterfacesKey;

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

class AdapterSettingsTest : public ::testing::Test {
  protected:
    std::string Key(const std::string& id) const { return kInterfacesKey + "\\" + id; }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : host.MessageBoxes()) {
            EXPECT_EQ(box.owner, nullptr);
            EXPECT_EQ(box.caption, "tarnquill");
            texts.push_back(box.text);
        }
        return texts;
    }

    fakes::InMemoryRegistry registry;
    fakes::FakeWindowHost host;
    fakes::FakeDynamicLibraries libraries;
    adapters::AdapterServices services{registry, host, libraries};
};

TEST_F(AdapterSettingsTest, NameServerSplitsAtTheFirstComma) {
    struct Case {
        const char* nameServer;
        const char* preferred;
        const char* alternate;
    };
    const Case cases[] = {
        {"8.8.8.8,8.8.4.4", "8.8.8.8", "8.8.4.4"},
        {"8.8.8.8", "8.8.8.8", ""},
        {"1.1.1.1,2.2.2.2,3.3.3.3", "1.1.1.1", "2.2.2.2,3.3.3.3"},
        {"1.1.1.1 2.2.2.2", "1.1.1.1 2.2.2.2", ""},
        {"   ", "   ", ""},
        {"8.8.8.8,", "8.8.8.8", ""},
        {",", "", ""},
        {",9.9.9.9", "", "9.9.9.9"},
    };
    for (const Case& c : cases) {
        fakes::InMemoryRegistry fresh;
        fresh.PutString(Key("eth0"), "NameServer", c.nameServer);
        Ipv4Settings settings{"", "", "", "old", "old"};
        EXPECT_TRUE(adapters::ReadAdapterSettings(fresh, settings, "eth0"));
        EXPECT_EQ(settings.preferredDns, c.preferred) << c.nameServer;
        EXPECT_EQ(settings.alternateDns, c.alternate) << c.nameServer;
    }
}

TEST_F(AdapterSettingsTest, ReadsTheFirstElementAndLeavesMissingValuesAlone) {
    registry.PutMultiString(Key("eth0"), "IPAddress", {"10.0.0.5", "10.0.0.6"});
    registry.PutString(Key("eth0"), "SubnetMask", "255.0.0.0");  // a plain string reads the same way
    registry.Put(Key("eth0"), "DefaultGateway", win::REG_MULTI_SZ, Bytes(std::string(300, '1')));
    Ipv4Settings settings{"keep", "keep", "keep", "keep", "keep"};
    EXPECT_TRUE(adapters::ReadAdapterSettings(registry, settings, "eth0"));
    // The gateway is longer than the buffer: it counts as missing.
    EXPECT_EQ(settings, (Ipv4Settings{"10.0.0.5", "255.0.0.0", "keep", "keep", "keep"}));
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(AdapterSettingsTest, AMissingKeyFailsAndLeavesTheRecord) {
    Ipv4Settings settings{"keep", "", "", "", ""};
    EXPECT_FALSE(adapters::ReadAdapterSettings(registry, settings, "eth9"));
    EXPECT_EQ(settings.ipAddress, "keep");
}

TEST_F(AdapterSettingsTest, WritesTheFourValuesByteForByte) {
    registry.CreateKey(Key("eth0"));
    ASSERT_TRUE(adapters::WriteAdapterSettings(services, "eth0",
                                               {"192.168.1.10", "255.255.255.0", "", "8.8.8.8", ""}));
    const auto ip = registry.Get(Key("eth0"), "IPAddress");
    ASSERT_TRUE(ip);
    EXPECT_EQ(ip->type, win::REG_MULTI_SZ);
    EXPECT_EQ(ip->data, Bytes(std::string_view("192.168.1.10\0\0", 14)));
    EXPECT_EQ(registry.Get(Key("eth0"), "SubnetMask")->data,
              Bytes(std::string_view("255.255.255.0\0\0", 15)));
    const auto gateway = registry.Get(Key("eth0"), "DefaultGateway");
    EXPECT_EQ(gateway->type, win::REG_MULTI_SZ);
    EXPECT_EQ(gateway->data, Bytes(std::string_view("\0\0", 2)));
    const auto nameServer = registry.Get(Key("eth0"), "NameServer");
    EXPECT_EQ(nameServer->type, win::REG_SZ);
    EXPECT_EQ(nameServer->data, Bytes(std::string_view("8.8.8.8,\0", 9)));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(AdapterSettingsTest, ValueLayouts) {
    struct Case {
        std::string preferred, alternate;
        std::string_view nameServer;
    };
    const Case cases[] = {
        {"1.1.1.1", "2.2.2.2", std::string_view("1.1.1.1,2.2.2.2\0", 16)},
        {"", "", std::string_view(",\0", 2)},
        {"", "2.2.2.2", std::string_view(",2.2.2.2\0", 9)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(adapters::NameServerValue(c.preferred, c.alternate), Bytes(c.nameServer));

    const std::string longText(120, '7');
    std::string expected(98, '7');
    expected.append(2, '\0');
    EXPECT_EQ(adapters::MultiStringValue(longText), Bytes(expected));
    EXPECT_EQ(adapters::MultiStringValue(std::string(98, '7')), Bytes(expected));
    EXPECT_EQ(adapters::NameServerValue(longText, longText).size(), 98u + 1 + 98 + 1);
}

TEST_F(AdapterSettingsTest, WhatIsWrittenReadsBackUnchanged) {
    registry.CreateKey(Key("eth0"));
    const Ipv4Settings written{"10.1.2.3", "255.255.0.0", "10.1.0.1", "10.1.0.53", "10.1.0.54"};
    ASSERT_TRUE(adapters::WriteAdapterSettings(services, "eth0", written));
    Ipv4Settings read;
    ASSERT_TRUE(adapters::ReadAdapterSettings(registry, read, "eth0"));
    EXPECT_EQ(read, written);
}

TEST_F(AdapterSettingsTest, AKeyThatCannotBeOpenedIsReportedAndNothingIsWritten) {
    registry.CreateKey(Key("eth0"));
    registry.DenyWrites(Key("locked"));
    const char* ids[] = {"missing", "locked", ""};
    for (const char* id : ids) {
        EXPECT_FALSE(adapters::WriteAdapterSettings(services, id, {"1.2.3.4", "255.0.0.0", "", "", ""}))
            << id;
    }
    // What the user can do about it follows on the next line, where there is something to say.
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{
                  Gbk("打开注册表失败!\n原因：找不到该适配器，它可能已被移除。请按“获取当前IP配置”后重试。"),
                  Gbk("打开注册表失败!\n原因：没有修改网络配置的权限，请以管理员(root)身份运行本程序。"),
                  Gbk("打开注册表失败!")}));
    EXPECT_EQ(registry.SetValueCalls(), 0);
    EXPECT_FALSE(registry.Get(kInterfacesKey, "IPAddress"));
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

}  // namespace
