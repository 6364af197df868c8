// The main dialog's custom controls at start: links with their targets, the icon box's five icons and
// the profile list filled from the profile file.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "app/ProfileIcons.h"
#include "controls/HyperLinker.h"
#include "controls/IconComboBox.h"
#include "controls/ListBoxCH.h"
#include "fakes/RecordingDeviceContext.h"
#include "res/BuildSettings.h"
#include "res/Resource.h"

namespace {

using fakes::FakeWindow;
using namespace res;

class DialogControlsTest : public AppFixture {
  protected:
    template <class Control>
    static Control& Object(FakeWindow& dlg, int id) {
        return dynamic_cast<Control&>(*Item(dlg, id).GetHandlerObject());
    }
    // What entry row of the profile list shows: its name and the resource id of its icon (0: none).
    static std::pair<std::string, int> Row(FakeWindow& dlg, int row) {
        fakes::RecordingDeviceContext dc;
        win::DrawItemStruct draw{win::ODT_LISTBOX,
                                 IDC_PROFILE_LIST,
                                 row,
                                 win::ODA_DRAWENTIRE,
                                 0,
                                 &dc,
                                 {0, 0, 100, 40},
                                 Item(dlg, IDC_PROFILE_LIST).GetItemData(row)};
        Object<controls::CListBoxCH>(dlg, IDC_PROFILE_LIST).DrawItem(draw);
        const auto texts = dc.OfKind(fakes::DrawOp::DrawText);
        const auto icons = dc.OfKind(fakes::DrawOp::DrawIcon);
        return {texts.empty() ? "<none>" : texts[0].text,
                icons.empty() ? 0 : fakes::FakeWindowHost::IconOf(icons[0].icon)->resourceId};
    }
};

TEST_F(DialogControlsTest, ProfileFileFillsTheListWithEntryZeroCurrent) {
    WriteProfiles("Office|0|x\r\nHome|4|y\r\nLab|0|z\r\n");
    RunProgram([&](FakeWindow& dlg) {
        FakeWindow& list = Item(dlg, IDC_PROFILE_LIST);
        ASSERT_EQ(list.GetCount(), 3);
        EXPECT_EQ(Row(dlg, 0), std::make_pair(std::string("Office"), 139));
        EXPECT_EQ(Row(dlg, 1), std::make_pair(std::string("Home"), 143));
        EXPECT_EQ(Row(dlg, 2), std::make_pair(std::string("Lab"), 139));
        EXPECT_EQ(list.GetCurSel(), 0);
        EXPECT_EQ(Object<controls::CListBoxCH>(dlg, IDC_PROFILE_LIST).GetCurrentIndex(), 0);
        EXPECT_EQ(Item(dlg, IDC_PROFILE_NAME).GetWindowText(), "Office") << "the first profile is shown";
        EXPECT_EQ(list.Items()[0].height, 40);
        host.CloseBox(dlg);
    });
    EXPECT_EQ(host.DestroyedUnknownIcons(), 0);
}

TEST_F(DialogControlsTest, ClickedProfileIsTheOneShown) {
    WriteProfiles("Office|0|x\r\nHome|1|y\r\nLab|2|z\r\n");
    RunProgram([&](FakeWindow& dlg) {
        host.ClickListRow(dlg, IDC_PROFILE_LIST, 2);
        EXPECT_EQ(Item(dlg, IDC_PROFILE_NAME).GetWindowText(), "Lab");
        host.PressListKey(dlg, IDC_PROFILE_LIST, win::VK_UP);
        EXPECT_EQ(Item(dlg, IDC_PROFILE_NAME).GetWindowText(), "Home");
        host.CloseBox(dlg);
    });
}

TEST_F(DialogControlsTest, LineWhoseIconNumberNamesNoIconKeepsItsRow) {
    WriteProfiles("A|0|x\r\nB|7|y\r\nC|-1|z\r\nD|abc|w\r\n");
    RunProgram([&](FakeWindow& dlg) {
        ASSERT_EQ(Item(dlg, IDC_PROFILE_LIST).GetCount(), 4) << "row i stays line i";
        EXPECT_EQ(Row(dlg, 0), std::make_pair(std::string("A"), 139));
        EXPECT_EQ(Row(dlg, 1), std::make_pair(std::string("B"), 0));
        EXPECT_EQ(Row(dlg, 2), std::make_pair(std::string("C"), 0));
        EXPECT_EQ(Row(dlg, 3), std::make_pair(std::string("D"), 139)) << "no digits count as icon 0";
        host.ClickListRow(dlg, IDC_PROFILE_LIST, 3);
        EXPECT_EQ(Item(dlg, IDC_PROFILE_NAME).GetWindowText(), "D");
        host.CloseBox(dlg);
    });
}

TEST_F(DialogControlsTest, IconBoxHoldsTheFiveProfileIconsInOrder) {
    RunProgram([&](FakeWindow& dlg) {
        FakeWindow& box = Item(dlg, IDC_ICON_BOX);
        ASSERT_EQ(box.GetCount(), 5);
        EXPECT_EQ(box.SelectionFieldHeight(), 34);
        auto& iconBox = Object<controls::CLargeIconComboBox>(dlg, IDC_ICON_BOX);
        for (int i = 0; i < 5; ++i) {
            box.SetCurSel(i);
            EXPECT_EQ(iconBox.GetSelectedIconId(), static_cast<win::UINT>(IDI_PROFILE_FIRST + i));
        }
        host.CloseBox(dlg);
    });
}

TEST_F(DialogControlsTest, ContactLinksOpenTheirTargetsInBlueTurningRed) {
    struct LinkCase {
        int id;
        std::string_view target;
    };
    const LinkCase links[] = {
        {IDC_MESSENGER_LINK, kMessengerLinkUrl},
        {IDC_MAIL_LINK, kMailLinkUrl},
        {IDC_HOMEPAGE_LINK, kHomepageUrl},
    };
    RunProgram([&](FakeWindow& dlg) {
        for (const LinkCase& link : links) {
            auto& linker = Object<controls::CHyperLinker>(dlg, link.id);
            fakes::RecordingDeviceContext normal;
            linker.CtlColor(normal, win::CTLCOLOR_STATIC);
            EXPECT_EQ(normal.textColor, win::RGB(0, 0, 255)) << link.id;
            linker.OnMouseMove(0, {1, 1});
            fakes::RecordingDeviceContext hover;
            linker.CtlColor(hover, win::CTLCOLOR_STATIC);
            EXPECT_EQ(hover.textColor, win::RGB(255, 0, 0)) << link.id;
            linker.OnMouseMove(0, {-1, -1});

            shell.calls.clear();
            linker.OnLButtonDown(0, {1, 1});
            ASSERT_EQ(shell.calls.size(), 1u) << link.id;
            EXPECT_EQ(shell.calls[0].file, link.target);
            EXPECT_EQ(shell.calls[0].owner, &dlg);
        }
        host.CloseBox(dlg);
    });
}

// The homepage link names the root of the product's server without a final slash; the update check
// opens that root with one.
TEST_F(DialogControlsTest, HomepageLinkNamesTheServerRootWithoutAFinalSlash) {
    RunProgram([&](FakeWindow& dlg) {
        shell.calls.clear();
        Object<controls::CHyperLinker>(dlg, IDC_HOMEPAGE_LINK).OnLButtonDown(0, {1, 1});
        ASSERT_EQ(shell.calls.size(), 1u);
        const std::string& target = shell.calls[0].file;
        ASSERT_FALSE(target.empty());
        EXPECT_NE(target.back(), '/') << target;
        EXPECT_EQ(target + "/", UpdateCheckHomepageUrl());
        host.CloseBox(dlg);
    });
}

TEST(ProfileIconsTest, EachIconIsLoadedOnceAndDestroyedWithItsOwner) {
    fakes::FakeWindowHost host;
    {
        app::ProfileIcons icons(host);
        win::HICON first = icons.Get(2);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(icons.Get(2), first);
        EXPECT_EQ(fakes::FakeWindowHost::IconOf(first)->resourceId, 141);
        EXPECT_EQ(fakes::FakeWindowHost::IconOf(first)->size, 32);
        EXPECT_EQ(icons.Get(-1), nullptr);
        EXPECT_EQ(icons.Get(5), nullptr);
        icons.Get(4);
        EXPECT_EQ(host.LiveIconCount(), 2);
    }
    EXPECT_EQ(host.LiveIconCount(), 0);
}

}  // namespace
