#include "res/Templates.h"

#include <gtest/gtest.h>

#include <set>

#include "fakes/GbkText.h"
#include "platform/window/Styles.h"
#include "res/Resource.h"
#include "res/Version.h"

namespace {

using fakes::Gbk;
using win::ControlKind;

TEST(Templates, MainDialogHasEveryControlOnceInTabOrder) {
    const auto& t = res::MainDialogTemplate();
    EXPECT_EQ(t.caption, "Ostrelle v3.2");
    EXPECT_EQ(t.cx, 349);
    EXPECT_EQ(t.cy, 251);
    EXPECT_EQ(t.exStyle & win::WS_EX_APPWINDOW, win::WS_EX_APPWINDOW);
    ASSERT_EQ(t.controls.size(), 37u);
    EXPECT_EQ(t.controls.front().id, res::IDC_SWITCH);
    EXPECT_EQ(t.controls.back().id, res::IDC_OPTIONS_GROUP);
    std::set<int> ids;
    for (const auto& c : t.controls)
        EXPECT_TRUE(ids.insert(c.id).second) << c.id;
}

TEST(Templates, RowsThatOtherCodeReliesOn) {
    const auto& t = res::MainDialogTemplate();
    const auto* iconBox = t.Find(res::IDC_ICON_BOX);
    ASSERT_NE(iconBox, nullptr);
    EXPECT_EQ(iconBox->style, 0x50210223u);
    const auto* getCurrent = t.Find(res::IDC_GET_CURRENT);
    EXPECT_EQ(getCurrent->style & 0xF, win::BS_DEFPUSHBUTTON);
    EXPECT_EQ(getCurrent->text, Gbk("获取当前IP配置"));
    const auto* list = t.Find(res::IDC_PROFILE_LIST);
    EXPECT_EQ(list->kind, ControlKind::ListBox);
    EXPECT_EQ(list->style & win::LBS_HASSTRINGS, 0u);
    EXPECT_NE(list->style & win::LBS_WANTKEYBOARDINPUT, 0u);
    const auto* mail = t.Find(res::IDC_MAIL_LINK);
    EXPECT_EQ(mail->style & win::SS_NOTIFY, 0u) << "links get SS_NOTIFY only when attached";
    EXPECT_EQ((win::Rect{mail->x, mail->y, mail->cx, mail->cy}), (win::Rect{35, 209, 48, 8}));
    EXPECT_NE(t.Find(res::IDC_SWITCH)->style & win::BS_ICON, 0u);
    EXPECT_EQ(t.Find(res::IDC_IP_ADDRESS)->kind, ControlKind::IpAddress);
}

TEST(Templates, AboutBox) {
    const auto& about = res::AboutDialogTemplate();
    EXPECT_EQ(about.caption, Gbk("关于Ostrelle v3.2"));
    ASSERT_EQ(about.controls.size(), 4u);
    EXPECT_EQ(about.controls[0].iconId, res::IDR_MAINFRAME);
    EXPECT_EQ(about.controls[1].text, "Ostrelle v3.2");
    EXPECT_EQ(about.controls[2].text.rfind(Gbk("作者:"), 0), 0u);
    EXPECT_NE(about.controls[2].text.find(Gbk("\n\n作者主页:")), std::string::npos);
    EXPECT_EQ(about.controls[3].id, win::IDOK);
}

// The build's version numbers, as the version block and the update check carry them.
TEST(Templates, VersionBlock) {
    EXPECT_STREQ(res::kProgramVersion, "3.2");
    EXPECT_EQ(res::kFileVersion, (std::array<unsigned, 4>{1, 0, 0, 1}));
    EXPECT_EQ(res::kProductVersion, res::kFileVersion);
    const std::u8string expected[] = {u8"Ostrelle v3.2",    u8"3.2",       u8"Corvane", u8"Corvane.EXE",
                                      u8"Corvane 应用程序", u8"3, 2, 0, 0"};
    for (std::size_t i = 0; i < res::kVersionStrings.size(); ++i)
        EXPECT_TRUE(res::kVersionStrings[i].second == expected[i]) << res::kVersionStrings[i].first;
}

}  // namespace
