#include "adapters/DhcpNotify.h"

#include <gtest/gtest.h>

#include "adapters/InetAddr.h"
#include "fakes/AdapterKeys.h"
#include "fakes/FakeDynamicLibraries.h"
#include "fakes/FakeWindowHost.h"
#include "fakes/GbkText.h"
#include "platform/dhcp/DhcpStatus.h"

namespace {

using fakes::Gbk;
using fakes::kInterfacesKey;

std::array<int, 4> Bytes(std::uint32_t value) {
    const adapters::AddressBytes b = adapters::BytesOf(value);
    return {b.b[0], b.b[1], b.b[2], b.b[3]};
}

class DhcpNotifyTest : public ::testing::Test {
  protected:
    void SetUp() override { registry.CreateKey(kInterfacesKey + "\\eth0"); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : host.MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }
    bool Apply(const char* instanceId) {
        return adapters::ApplyAdapterSettings(services, instanceId, 0,
                                              {"10.1.2.3", "255.255.255.0", "10.1.2.1", "10.1.2.53", ""});
    }

    fakes::InMemoryRegistry registry;
    fakes::FakeWindowHost host;
    fakes::FakeDynamicLibraries libraries;
    adapters::AdapterServices services{registry, host, libraries};
};

TEST_F(DhcpNotifyTest, PassesTheSevenArguments) {
    ASSERT_TRUE(adapters::NotifyDhcpClient(services, "eth0", 2, "10.1.2.3", "255.255.240.0"));
    ASSERT_EQ(libraries.calls.size(), 1u);
    const fakes::NotifyCall& call = libraries.calls[0];
    EXPECT_TRUE(call.serverNameNull);
    EXPECT_EQ(call.adapterName, u"eth0");
    EXPECT_EQ(call.newIpAddress, 1);
    EXPECT_EQ(call.ipIndex, 2u);
    EXPECT_EQ(Bytes(call.ipAddress), (std::array<int, 4>{10, 1, 2, 3}));
    EXPECT_EQ(Bytes(call.subnetMask), (std::array<int, 4>{255, 255, 240, 0}));
    EXPECT_EQ(call.dhcpAction, 0);
    EXPECT_EQ(libraries.loadedNames, std::vector<std::string>{"dhcpcsvc"});
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DhcpNotifyTest, TheAdapterNameIsUtf16FromGbkInA256UnitBuffer) {
    adapters::NotifyDhcpClient(services, Gbk("网卡1"), 0, "1.2.3.4", "255.0.0.0");
    adapters::NotifyDhcpClient(services, std::string(300, 'n'), 0, "1.2.3.4", "255.0.0.0");
    ASSERT_EQ(libraries.calls.size(), 2u);
    EXPECT_EQ(libraries.calls[0].adapterName, u"网卡1");
    EXPECT_EQ(libraries.calls[1].adapterName, std::u16string(255, u'n'));
    EXPECT_EQ(libraries.calls[1].adapterNameBuffer[255], u'\0');
}

TEST_F(DhcpNotifyTest, EachFailureHasItsMessageAndTheLibraryIsAlwaysReleased) {
    struct Case {
        bool failLoad;
        bool missingFunction;
        std::uint32_t status;
        bool result;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {false, false, 0, true, {}},
        {true, false, 0, false, {Gbk("加载dhcpcsvc库失败!")}},
        {false, true, 0, false, {Gbk("获取DhcpNotifyConfigChange函数地址失败!")}},
        // The reason a user can act on follows on the next line.
        {false,
         false,
         win::kDhcpAccessDenied,
         false,
         {Gbk("DhcpNotifyConfigChange函数调用失败!\n原因：没有修改网络配置的权限，请以管理员(root)"
              "身份运行本程序。")}},
        {false,
         false,
         win::kDhcpSystemError | 28,
         false,
         {Gbk("DhcpNotifyConfigChange函数调用失败!\n原因：系统错误 28。")}},
        {false,
         false,
         0xFFFFFFFF,
         false,
         {Gbk("DhcpNotifyConfigChange函数调用失败!\n原因：错误代码 4294967295。")}},
    };
    for (const Case& c : cases) {
        fakes::FakeWindowHost freshHost;
        fakes::FakeDynamicLibraries freshLibraries;
        freshLibraries.failLoad = c.failLoad;
        freshLibraries.missingFunction = c.missingFunction;
        freshLibraries.status = c.status;
        const adapters::AdapterServices fresh{registry, freshHost, freshLibraries};
        EXPECT_EQ(adapters::NotifyDhcpClient(fresh, "eth0", 0, "1.2.3.4", "255.0.0.0"), c.result) << c.status;
        std::vector<std::string> texts;
        for (const auto& box : freshHost.MessageBoxes()) {
            EXPECT_EQ(box.owner, nullptr);
            EXPECT_EQ(box.type, win::MB_OK);
            texts.push_back(box.text);
        }
        EXPECT_EQ(texts, c.messages);
        EXPECT_EQ(freshLibraries.frees, freshLibraries.loads);
    }
}

TEST_F(DhcpNotifyTest, AFailedWriteMakesNoNotification) {
    EXPECT_FALSE(Apply("eth9"));
    EXPECT_TRUE(libraries.loadedNames.empty());
    EXPECT_EQ(Messages(),
              std::vector<std::string>{Gbk(
                  "打开注册表失败!\n原因：找不到该适配器，它可能已被移除。请按“获取当前IP配置”后重试。")});
}

TEST_F(DhcpNotifyTest, AFailedNotificationKeepsTheWrittenValues) {
    libraries.status = win::kDhcpBadGateway;
    EXPECT_FALSE(Apply("eth0"));
    EXPECT_EQ(Messages(),
              std::vector<std::string>{Gbk("DhcpNotifyConfigChange函数调用失败!\n原因：默认网关无效。")});
    const auto ip = registry.Get(kInterfacesKey + "\\eth0", "IPAddress");
    ASSERT_TRUE(ip);
    EXPECT_EQ(ip->data.size(), 10u);
}

TEST_F(DhcpNotifyTest, ApplyWritesThenNotifiesWithAddressAndMask) {
    EXPECT_TRUE(Apply("eth0"));
    ASSERT_EQ(libraries.calls.size(), 1u);
    EXPECT_EQ(libraries.calls[0].ipIndex, 0u);
    EXPECT_EQ(Bytes(libraries.calls[0].subnetMask), (std::array<int, 4>{255, 255, 255, 0}));
    EXPECT_TRUE(registry.Get(kInterfacesKey + "\\eth0", "DefaultGateway"));
}

}  // namespace
