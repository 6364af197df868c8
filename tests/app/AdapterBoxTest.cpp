// The adapter box and the five address controls, on a registry laid out as Windows lays it out.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "fakes/AdapterKeys.h"
#include "fakes/GbkText.h"
#include "res/Resource.h"

namespace {

using fakes::FakeWindow;
using namespace res;

class AdapterBoxTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        app::adapterList.clear();
    }
    void AddTwoAdapters() {
        fakes::AddAdapter(registry, "0001", "ethernet", "Realtek PCIe GbE", "{B2}");
        fakes::AddAdapter(registry, "0000", "ethernet,wlan", "Wireless", "{W}");
        fakes::AddAdapter(registry, "0002", "ethernet", "Intel PRO/1000", "{C3}");
        fakes::AddInterface(registry, "{B2}", "192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8.8");
        fakes::AddInterface(registry, "{C3}", "10.0.0.7", "255.0.0.0", "", "10.0.0.53,10.0.0.54");
    }
    static std::vector<std::string> Addresses(FakeWindow& dlg) {
        std::vector<std::string> texts;
        for (int id :
             {IDC_IP_ADDRESS, IDC_SUBNET_MASK, IDC_DEFAULT_GATEWAY, IDC_PREFERRED_DNS, IDC_ALTERNATE_DNS}) {
            texts.push_back(dlg.GetDlgItem(id)->GetWindowText());
        }
        return texts;
    }
    static std::vector<std::string> BoxTexts(FakeWindow& dlg) {
        std::vector<std::string> texts;
        for (const auto& item : Item(dlg, IDC_ADAPTER_BOX).Items()) {
            texts.push_back(item.text);
        }
        return texts;
    }
};

TEST_F(AdapterBoxTest, StartUpListsTheEthernetAdaptersAndShowsTheFirstOnesSettings) {
    AddTwoAdapters();
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_EQ(BoxTexts(dlg), (std::vector<std::string>{"Realtek PCIe GbE", "Intel PRO/1000"}));
        EXPECT_EQ(dlg.GetDlgItem(IDC_ADAPTER_BOX)->GetCurSel(), 0);
        EXPECT_EQ(Addresses(dlg),
                  (std::vector<std::string>{"192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8.8", ""}));
        ASSERT_EQ(app::adapterList.size(), 2u);
        host.CloseBox(dlg);
    });
    EXPECT_TRUE(app::adapterList.empty()) << "the records outlived the window";
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(AdapterBoxTest, ChoosingAnotherAdapterShowsItsSettings) {
    AddTwoAdapters();
    RunProgram([&](FakeWindow& dlg) {
        host.SelectComboItem(dlg, IDC_ADAPTER_BOX, 1);
        EXPECT_EQ(Addresses(dlg),
                  (std::vector<std::string>{"10.0.0.7", "255.0.0.0", "", "10.0.0.53", "10.0.0.54"}));
        host.CloseBox(dlg);
    });
}

TEST_F(AdapterBoxTest, RefreshingTwiceLeavesNoEntryDoubled) {
    AddTwoAdapters();
    RunProgram([&](FakeWindow& dlg) {
        host.SelectComboItem(dlg, IDC_ADAPTER_BOX, 1);
        host.Click(dlg, IDC_GET_CURRENT);
        host.Click(dlg, IDC_GET_CURRENT);
        EXPECT_EQ(BoxTexts(dlg).size(), 2u);
        EXPECT_EQ(app::adapterList.size(), 2u);
        EXPECT_EQ(dlg.GetDlgItem(IDC_ADAPTER_BOX)->GetCurSel(), 0);
        EXPECT_EQ(Addresses(dlg)[0], "192.168.1.10");
        host.CloseBox(dlg);
    });
}

TEST_F(AdapterBoxTest, WithoutAdaptersNothingIsSelectedAndSwitchingIsRefused) {
    fakes::AddAdapter(registry, "0000", "wlan", "Wireless", "{W}");
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_TRUE(BoxTexts(dlg).empty());
        EXPECT_EQ(dlg.GetDlgItem(IDC_ADAPTER_BOX)->GetCurSel(), -1);
        dlg.GetDlgItem(IDC_IP_ADDRESS)->SetWindowText("1.2.3.4");
        host.SelectComboItem(dlg, IDC_ADAPTER_BOX, 0);  // a selection change with nothing to select
        EXPECT_EQ(dlg.GetDlgItem(IDC_IP_ADDRESS)->GetWindowText(), "1.2.3.4");
        auto* dialog = static_cast<app::CCorvaneDlg*>(host.DialogOf(dlg));
        EXPECT_FALSE(dialog->ApplyToSelectedAdapter({"1.2.3.4", "255.0.0.0", "", "", ""}));
        host.CloseBox(dlg);
    });
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text, fakes::Gbk("打开注册表失败!"));
    EXPECT_TRUE(libraries.loadedNames.empty());
}

TEST_F(AdapterBoxTest, TheSwitchWritesAndNotifiesTheSelectedAdapter) {
    AddTwoAdapters();
    RunProgram([&](FakeWindow& dlg) {
        host.SelectComboItem(dlg, IDC_ADAPTER_BOX, 1);
        auto* dialog = static_cast<app::CCorvaneDlg*>(host.DialogOf(dlg));
        EXPECT_TRUE(dialog->ApplyToSelectedAdapter({"10.0.0.8", "255.255.0.0", "10.0.0.1", "1.1.1.1", ""}));
        // The box goes on showing the values of the last refresh.
        EXPECT_EQ(Addresses(dlg)[0], "10.0.0.7");
        host.CloseBox(dlg);
    });
    ASSERT_EQ(libraries.calls.size(), 1u);
    EXPECT_EQ(libraries.calls[0].adapterName, u"{C3}");
    EXPECT_EQ(libraries.calls[0].ipIndex, 0u);
    const auto written = registry.Get(fakes::kInterfacesKey + "\\{C3}", "IPAddress");
    ASSERT_TRUE(written);
    EXPECT_EQ(written->data, (std::vector<std::uint8_t>{'1', '0', '.', '0', '.', '0', '.', '8', 0, 0}));
    EXPECT_TRUE(host.MessageBoxes().empty());
}

}  // namespace
