// The main dialog's coloured labels and icon buttons at start: each of the sixteen labels and group
// boxes attached to a coloured label in its shade of the background, the icon buttons with their icons.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "controls/ColorStatic.h"
#include "res/Resource.h"

namespace {

using fakes::FakeWindow;
using namespace res;

using ColorLabelsTest = AppFixture;

struct LabelCase {
    int id;
    int blue;
};

TEST_F(ColorLabelsTest, SixteenLabelsTakeTheirShadesWithBlackTextAndArePaintedOnce) {
    const LabelCase cases[] = {
        {IDC_LABEL_LIST, 240},    {IDC_LABEL_NAME, 240},         {IDC_LABEL_ICON, 240},
        {IDC_LABEL_ADAPTER, 170}, {IDC_LABEL_IP, 140},           {IDC_LABEL_MASK, 100},
        {IDC_LABEL_GATEWAY, 80},  {IDC_LABEL_PREFERRED_DNS, 70}, {IDC_LABEL_ALTERNATE_DNS, 240},
        {IDC_CONTACT_GROUP, 200}, {IDC_CONFIG_GROUP, 240},       {IDC_LABEL_ADD, 180},
        {IDC_LABEL_MODIFY, 180},  {IDC_LABEL_DELETE, 180},       {IDC_LABEL_SWITCH, 60},
        {IDC_OPTIONS_GROUP, 140},
    };
    RunProgram([&](FakeWindow& dlg) {
        for (const LabelCase& c : cases) {
            SCOPED_TRACE(c.id);
            auto* label = dynamic_cast<controls::CColorStatic*>(Item(dlg, c.id).GetHandlerObject());
            ASSERT_NE(label, nullptr) << "attached to a coloured label";
            EXPECT_EQ(label->GetBackColor(), win::RGB(190, 150, c.blue));
            EXPECT_EQ(label->GetTextColor(), 0u);
            EXPECT_GE(Item(dlg, c.id).RedrawNowCount(), 1) << "repainted when it got its colour";
        }
        host.CloseBox(dlg);
    });
}

TEST_F(ColorLabelsTest, NoOtherControlIsAColouredLabel) {
    RunProgram([&](FakeWindow& dlg) {
        int coloured = 0;
        for (FakeWindow* child : dlg.Children()) {
            if (dynamic_cast<controls::CColorStatic*>(child->GetHandlerObject()) != nullptr)
                ++coloured;
        }
        EXPECT_EQ(coloured, 16);
        host.CloseBox(dlg);
    });
}

TEST_F(ColorLabelsTest, IconButtonsShowTheirIcons) {
    const std::pair<int, int> cases[] = {
        {IDC_ADD, IDI_ADD},          {IDC_MODIFY, IDI_MODIFY}, {IDC_DELETE, IDI_DELETE},
        {IDC_HELP_BUTTON, IDI_HELP}, {IDC_SWITCH, IDI_SWITCH}, {IDC_ABOUT, IDR_MAINFRAME},
    };
    RunProgram([&](FakeWindow& dlg) {
        for (const auto& [buttonId, iconId] : cases) {
            SCOPED_TRACE(buttonId);
            win::HICON icon = Item(dlg, buttonId).ButtonIcon();
            ASSERT_NE(icon, nullptr);
            EXPECT_EQ(fakes::FakeWindowHost::IconOf(icon)->resourceId, iconId);
            EXPECT_EQ(fakes::FakeWindowHost::IconOf(icon)->size, 32);
        }
        EXPECT_EQ(Item(dlg, IDC_GET_CURRENT).ButtonIcon(), nullptr) << "a text button";
        host.CloseBox(dlg);
    });
}

TEST_F(ColorLabelsTest, AnIconThatCannotBeLoadedLeavesItsButtonBlank) {
    host.FailIconLoads(true);
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_EQ(Item(dlg, IDC_ADD).ButtonIcon(), nullptr);
        host.CloseBox(dlg);
    });
}

}  // namespace
