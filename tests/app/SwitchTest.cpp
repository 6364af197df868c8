// Switching through the whole dialog on fakes: an in-memory registry with two adapters and a DHCP
// client library that records its calls.
#include <gtest/gtest.h>

#include "platform/dhcp/DhcpStatus.h"

#include "AppFixture.h"
#include "fakes/AdapterKeys.h"
#include "fakes/GbkText.h"
#include "res/Resource.h"

namespace {

using fakes::FakeWindow;
using fakes::Gbk;
using namespace res;

const std::string kFailure = Gbk("IP配置切换失败!请根据前述错误原因进行具体的调整与修改!");

class SwitchTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        fakes::AddAdapter(registry, "0000", "ethernet", "Office NIC", "eth0");
        fakes::AddAdapter(registry, "0001", "ethernet", "Lab NIC", "eth1");
        fakes::AddInterface(registry, "eth0", "192.0.2.10", "255.255.255.0", "192.0.2.1",
                            "192.0.2.53,192.0.2.54");
        fakes::AddInterface(registry, "eth1", "198.51.100.10", "255.255.255.0", "", "");
        WriteProfiles(
            "home|1|Lab NIC|10.0.0.5|255.0.0.0|10.0.0.1|10.0.0.53|\r\n"
            "away|2|Some Other Machine's NIC|172.16.0.5|255.255.0.0|172.16.0.1|172.16.0.53|172.16.0.54\r\n");
    }
    std::string Value(const std::string& instanceId, const char* name) const {
        auto value = registry.Get(fakes::kInterfacesKey + "\\" + instanceId, name);
        return value ? std::string(value->data.begin(), value->data.end()) : "<missing>";
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& box : host.MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }
};

TEST_F(SwitchTest, AddAfterStartStoresTheFirstAdapterAndItsPresentAddresses) {
    std::filesystem::remove(ProfilePath());
    RunProgram([&](FakeWindow& dlg) {
        host.Click(dlg, IDC_ADD);
        host.CloseBox(dlg);
    });
    ASSERT_EQ(app::profileLines.size(), 1u);
    EXPECT_EQ(app::profileLines[0],
              Gbk("当前IP配置|3|Office NIC|192.0.2.10|255.255.255.0|192.0.2.1|192.0.2.53|192.0.2.54"));
}

TEST_F(SwitchTest, SwitchWritesTheSelectedProfileToTheBoxesAdapterAndReportsSuccess) {
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_EQ(Item(dlg, IDC_ADAPTER_BOX).GetCurSel(), 1) << "profile 0 moved the box to its adapter";
        EXPECT_EQ(Item(dlg, IDC_IP_ADDRESS).GetWindowText(), "10.0.0.5") << "the profile's own addresses";
        host.Click(dlg, IDC_SWITCH);
        host.Click(dlg, IDC_SWITCH);
        EXPECT_FALSE(dlg.EndResult().has_value());
        host.CloseBox(dlg);
    });
    EXPECT_EQ(Value("eth1", "IPAddress"), std::string("10.0.0.5\0\0", 10));
    EXPECT_EQ(Value("eth1", "DefaultGateway"), std::string("10.0.0.1\0\0", 10));
    EXPECT_EQ(Value("eth1", "NameServer"), std::string("10.0.0.53,\0", 11))
        << "an empty alternate ends in a comma";
    EXPECT_EQ(Value("eth0", "IPAddress"), std::string("192.0.2.10\0\0", 12))
        << "the other adapter is untouched";
    ASSERT_EQ(libraries.calls.size(), 2u);
    EXPECT_EQ(libraries.calls[0].adapterName, u"eth1");
    EXPECT_EQ(libraries.calls[0].ipIndex, 0u);
    EXPECT_EQ(Texts(), std::vector<std::string>(2, Gbk("IP配置切换成功!")));
    EXPECT_EQ(host.MessageBoxes()[0].caption, Gbk("提示"));
    EXPECT_EQ(host.MessageBoxes()[0].type, win::MB_OK | win::MB_ICONINFORMATION);
}

TEST_F(SwitchTest, AProfileOfAnotherMachineKeepsTheBoxWhereTheUserPutIt) {
    RunProgram([&](FakeWindow& dlg) {
        host.SelectComboItem(dlg, IDC_ADAPTER_BOX, 0);
        host.ClickListRow(dlg, IDC_PROFILE_LIST, 1);
        EXPECT_EQ(Item(dlg, IDC_ADAPTER_BOX).GetCurSel(), 0);
        EXPECT_EQ(Item(dlg, IDC_IP_ADDRESS).GetWindowText(), "172.16.0.5");
        host.Click(dlg, IDC_SWITCH);
        host.CloseBox(dlg);
    });
    EXPECT_EQ(Value("eth0", "IPAddress"), std::string("172.16.0.5\0\0", 12));
    EXPECT_EQ(Value("eth0", "NameServer"), std::string("172.16.0.53,172.16.0.54\0", 24));
}

TEST_F(SwitchTest, FailuresShowTheSpecificMessageFirstThenTheGeneralOne) {
    libraries.status = win::kDhcpBadMask;
    RunProgram([&](FakeWindow& dlg) {
        host.Click(dlg, IDC_AUTO_EXIT);
        host.Click(dlg, IDC_SWITCH);
        EXPECT_FALSE(dlg.EndResult().has_value()) << "a failed switch keeps the program open";
        libraries.status = 0;
        libraries.failLoad = true;
        host.Click(dlg, IDC_SWITCH);
        host.Click(dlg, IDC_AUTO_EXIT);
        host.CloseBox(dlg);
    });
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{Gbk("DhcpNotifyConfigChange函数调用失败!\n原因：子网掩码无效。"),
                                        kFailure, Gbk("加载dhcpcsvc库失败!"), kFailure}));
    EXPECT_EQ(host.MessageBoxes()[1].type, win::MB_OK | win::MB_ICONERROR);
    EXPECT_EQ(Value("eth1", "IPAddress"), std::string("10.0.0.5\0\0", 10)) << "the write stays";
}

TEST_F(SwitchTest, AutoExitAfterSuccessClosesAndSavesWithoutAMessage) {
    RunProgram([&](FakeWindow& dlg) {
        host.Click(dlg, IDC_AUTO_EXIT);
        host.Click(dlg, IDC_ADD);
        host.Click(dlg, IDC_SWITCH);
        EXPECT_EQ(dlg.EndResult(), win::IDCANCEL);
    });
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(std::count(app::profileLines.begin(), app::profileLines.end(), app::profileLines[0]), 2);
    EXPECT_EQ(ReadProfiles().size(), app::profileLines[0].size() * 2 + app::profileLines[1].size() + 6);
    EXPECT_TRUE(std::filesystem::exists(MarkerPath()));
}

TEST_F(SwitchTest, NoAdapterMeansFailureAndNothingTouched) {
    registry.DeleteKey(fakes::kAdapterClassKey);
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_EQ(Item(dlg, IDC_ADAPTER_BOX).GetCount(), 0);
        host.Click(dlg, IDC_SWITCH);
        host.CloseBox(dlg);
    });
    ASSERT_EQ(Texts().size(), 2u);
    EXPECT_EQ(Texts()[1], kFailure);
    EXPECT_EQ(registry.SetValueCalls(), 0);
    EXPECT_EQ(libraries.loads, 0);
}

TEST_F(SwitchTest, NoProfileSelectedAsksForOne) {
    std::filesystem::remove(ProfilePath());
    RunProgram([&](FakeWindow& dlg) {
        host.Click(dlg, IDC_SWITCH);
        host.CloseBox(dlg);
    });
    EXPECT_EQ(Texts(), (std::vector<std::string>{Gbk("请在IP配置列表中选中一项后再按切换!")}));
    EXPECT_EQ(libraries.loads, 0);
}

}  // namespace
