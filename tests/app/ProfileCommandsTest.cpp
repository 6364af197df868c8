// The profile commands through the whole dialog on the fake host: what the user does, what lands in
// profileLines and the list, and which messages appear.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "controls/ListBoxCH.h"
#include "fakes/GbkText.h"
#include "res/Resource.h"

namespace {

using fakes::FakeWindow;
using fakes::Gbk;
using namespace res;

class ProfileCommandsTest : public AppFixture {
  protected:
    static std::string EntryName(FakeWindow& dlg, int row) {
        const auto data = Item(dlg, IDC_PROFILE_LIST).GetItemData(row);
        return data == 0 ? "<no record>" : reinterpret_cast<const controls::ProfileListItem*>(data)->text;
    }
    static int CurrentIndex(fakes::FakeWindowHost& host, FakeWindow& dlg) {
        return static_cast<controls::CListBoxCH*>(
                   host.DialogOf(dlg)->GetDlgItem(IDC_PROFILE_LIST)->GetHandlerObject())
            ->GetCurrentIndex();
    }
    void TypeProfile(FakeWindow& dlg, const std::string& name, int icon, const char* ip) {
        Item(dlg, IDC_PROFILE_NAME).SetWindowText(name);
        Item(dlg, IDC_ICON_BOX).SetCurSel(icon);
        Item(dlg, IDC_IP_ADDRESS).SetWindowText(ip);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& box : host.MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }
};

TEST_F(ProfileCommandsTest, AddRightAfterStartStoresTheCurrentConfigurationAsIs) {
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_EQ(Item(dlg, IDC_CONFIG_GROUP).GetWindowText(), Gbk("当前的IP配置"));
        EXPECT_FALSE(Item(dlg, IDC_MODIFY).IsWindowVisible());
        EXPECT_FALSE(Item(dlg, IDC_LABEL_DELETE).IsWindowVisible());
        host.Click(dlg, IDC_ADD);
        ASSERT_EQ(app::profileLines.size(), 1u);
        EXPECT_EQ(app::profileLines[0].rfind(Gbk("当前IP配置|3|"), 0), 0u) << app::profileLines[0];
        EXPECT_EQ(EntryName(dlg, 0), Gbk("当前IP配置"));
        EXPECT_EQ(CurrentIndex(host, dlg), -1) << "Add selects nothing";
        host.CloseBox(dlg);
    });
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(ProfileCommandsTest, AddTwiceGivesTwoEqualLinesAndEntries) {
    RunProgram([&](FakeWindow& dlg) {
        TypeProfile(dlg, Gbk("家"), 1, "10.0.0.2");
        host.Click(dlg, IDC_ADD);
        host.Click(dlg, IDC_ADD);
        ASSERT_EQ(app::profileLines.size(), 2u);
        EXPECT_EQ(app::profileLines[0], app::profileLines[1]);
        EXPECT_EQ(Item(dlg, IDC_PROFILE_LIST).GetCount(), 2);
        EXPECT_EQ(app::profileLines[0], Gbk("家|1||10.0.0.2||||"));
        host.CloseBox(dlg);
    });
    EXPECT_EQ(ReadProfiles(), Gbk("家|1||10.0.0.2||||\r\n家|1||10.0.0.2||||\r\n"));
}

TEST_F(ProfileCommandsTest, ModifyRewritesTheSelectedLineAgainAndAgain) {
    WriteProfiles("a|0|\r\nb|1|\r\nc|2|\r\nd|3|\r\n");
    RunProgram([&](FakeWindow& dlg) {
        host.ClickListRow(dlg, IDC_PROFILE_LIST, 2);
        EXPECT_EQ(Item(dlg, IDC_PROFILE_NAME).GetWindowText(), "c");
        TypeProfile(dlg, "new", 4, "10.1.1.1");
        host.Click(dlg, IDC_MODIFY);
        EXPECT_EQ(app::profileLines[2], "new|4||10.1.1.1||||");
        EXPECT_EQ(EntryName(dlg, 2), "new");
        EXPECT_EQ(Item(dlg, IDC_PROFILE_LIST).GetCurSel(), -1) << "the replaced row is not highlighted";
        EXPECT_EQ(CurrentIndex(host, dlg), 2);
        EXPECT_EQ(Item(dlg, IDC_CONFIG_GROUP).GetWindowText(), Gbk("c的IP配置"))
            << "the caption is not touched";
        TypeProfile(dlg, "again", 0, "10.2.2.2");
        host.Click(dlg, IDC_MODIFY);
        EXPECT_EQ(app::profileLines[2], "again|0||10.2.2.2||||");
        EXPECT_EQ(app::profileLines.size(), 4u);
        EXPECT_EQ(Item(dlg, IDC_PROFILE_LIST).GetCount(), 4);
        host.CloseBox(dlg);
    });
}

TEST_F(ProfileCommandsTest, DeleteLeavesTheNextEntryCurrentAndAsksEachTime) {
    WriteProfiles("a|0|\r\nb|1|\r\nc|2|\r\n");
    RunProgram([&](FakeWindow& dlg) {
        host.ClickListRow(dlg, IDC_PROFILE_LIST, 1);
        host.Click(dlg, IDC_DELETE);
        EXPECT_EQ(app::profileLines, (std::vector<std::string>{"a|0|", "c|2|"}));
        EXPECT_EQ(CurrentIndex(host, dlg), 1);
        EXPECT_EQ(EntryName(dlg, 1), "c");
        host.Click(dlg, IDC_DELETE);
        EXPECT_EQ(app::profileLines, (std::vector<std::string>{"a|0|"}));
        // The index now points past the end: it names no profile.
        host.Click(dlg, IDC_DELETE);
        host.Click(dlg, IDC_MODIFY);
        host.Click(dlg, IDC_SWITCH);
        EXPECT_EQ(app::profileLines, (std::vector<std::string>{"a|0|"}));
        host.CloseBox(dlg);
    });
    EXPECT_EQ(Texts(), (std::vector<std::string>{Gbk("确实要删除此IP配置吗?"), Gbk("确实要删除此IP配置吗?"),
                                                 Gbk("请在左侧的IP配置列表中选中一项后再按删除!"),
                                                 Gbk("请在左侧的IP配置列表中选中一项后再按修改!"),
                                                 Gbk("请在IP配置列表中选中一项后再按切换!")}));
    EXPECT_EQ(host.MessageBoxes()[0].type, win::MB_OKCANCEL);
}

TEST_F(ProfileCommandsTest, CancelledDeleteChangesNothing) {
    WriteProfiles("a|0|\r\nb|1|\r\n");
    host.AnswerNextMessageBox(win::IDCANCEL);
    RunProgram([&](FakeWindow& dlg) {
        host.ClickListRow(dlg, IDC_PROFILE_LIST, 0);
        host.Click(dlg, IDC_DELETE);
        EXPECT_EQ(app::profileLines.size(), 2u);
        EXPECT_EQ(Item(dlg, IDC_PROFILE_LIST).GetCount(), 2);
        host.CloseBox(dlg);
    });
}

TEST_F(ProfileCommandsTest, SelectingShowsTheProfileAndItsIconRule) {
    WriteProfiles(
        Gbk("办公室|x|Unknown Adapter|192.0.2.20|255.255.255.0|192.0.2.1|198.51.100.53|\r\nfar|7|\r\n"));
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_EQ(CurrentIndex(host, dlg), 0) << "entry 0 is current at start";
        EXPECT_EQ(Item(dlg, IDC_CONFIG_GROUP).GetWindowText(), Gbk("办公室的IP配置"));
        EXPECT_EQ(Item(dlg, IDC_PROFILE_NAME).GetWindowText(), Gbk("办公室"));
        EXPECT_EQ(Item(dlg, IDC_ICON_BOX).GetCurSel(), 0) << "\"x\" reads as icon 0";
        EXPECT_EQ(Item(dlg, IDC_IP_ADDRESS).GetWindowText(), "192.0.2.20");
        EXPECT_EQ(Item(dlg, IDC_DEFAULT_GATEWAY).GetWindowText(), "192.0.2.1");
        EXPECT_EQ(Item(dlg, IDC_ALTERNATE_DNS).GetWindowText(), "");
        EXPECT_TRUE(Item(dlg, IDC_MODIFY).IsWindowVisible());
        EXPECT_TRUE(Item(dlg, IDC_LABEL_DELETE).IsWindowVisible());
        host.ClickListRow(dlg, IDC_PROFILE_LIST, 1);
        EXPECT_EQ(Item(dlg, IDC_ICON_BOX).GetCurSel(), -1) << "icon 7 selects nothing";
        host.Click(dlg, IDC_GET_CURRENT);
        EXPECT_EQ(Item(dlg, IDC_ICON_BOX).GetCurSel(), 3);
        EXPECT_FALSE(Item(dlg, IDC_DELETE).IsWindowVisible());
        EXPECT_EQ(CurrentIndex(host, dlg), 1) << "the selected profile stays";
        host.CloseBox(dlg);
    });
}

TEST_F(ProfileCommandsTest, AnIconOutsideTheFiveStillGetsItsEntrySoListAndLinesStayInStep) {
    WriteProfiles("far|7|\r\nnear|1|\r\n");
    RunProgram([&](FakeWindow& dlg) {
        ASSERT_EQ(Item(dlg, IDC_PROFILE_LIST).GetCount(), 2);
        EXPECT_EQ(EntryName(dlg, 1), "near");
        host.ClickListRow(dlg, IDC_PROFILE_LIST, 0);  // icon box now without selection
        host.Click(dlg, IDC_ADD);
        ASSERT_EQ(app::profileLines.size(), 3u);
        EXPECT_EQ(app::profileLines[2].rfind("far|-1|", 0), 0u);
        EXPECT_EQ(Item(dlg, IDC_PROFILE_LIST).GetCount(), 3);
        host.ClickListRow(dlg, IDC_PROFILE_LIST, 1);
        EXPECT_EQ(Item(dlg, IDC_PROFILE_NAME).GetWindowText(), "near");
        host.CloseBox(dlg);
    });
}

TEST_F(ProfileCommandsTest, ANameWithTheSeparatorIsRefusedAndNothingIsLost) {
    WriteProfiles("a|0|\r\n");
    RunProgram([&](FakeWindow& dlg) {
        TypeProfile(dlg, "a|b", 1, "10.0.0.9");
        host.Click(dlg, IDC_ADD);
        host.Click(dlg, IDC_MODIFY);
        EXPECT_EQ(app::profileLines, (std::vector<std::string>{"a|0|"}));
        EXPECT_EQ(Item(dlg, IDC_PROFILE_NAME).GetWindowText(), "a|b")
            << "the typed name stays to be corrected";
        host.CloseBox(dlg);
    });
    EXPECT_EQ(Texts(), std::vector<std::string>(2, Gbk("IP配置名称中不能含有字符\"|\"，请修改名称后再试!")));
    EXPECT_EQ(host.MessageBoxes()[0].caption, Gbk("提示"));
}

TEST_F(ProfileCommandsTest, ANameWhoseCharacterEndsInTheSeparatorByteIsAdded) {
    RunProgram([&](FakeWindow& dlg) {
        TypeProfile(dlg, Gbk("東京"), 1, "10.0.0.9");
        host.Click(dlg, IDC_ADD);
        ASSERT_EQ(app::profileLines.size(), 1u);
        EXPECT_EQ(EntryName(dlg, 0), Gbk("東京"));
        host.CloseBox(dlg);
    });
    EXPECT_TRUE(host.MessageBoxes().empty());
}

}  // namespace
