#include <gtest/gtest.h>

#include "ControlsDialog.h"
#include "DrawOps.h"

namespace controls_test {
namespace {

using fakes::FakeWindow;
using Lines = std::vector<std::string>;

TEST_F(ControlsTest, BoxesMeasureTheirSelectionFieldAndEntriesBySize) {
    Run([&](FakeWindow& window) {
        EXPECT_EQ(Item(window, kSmallBox).SelectionFieldHeight(), 18);
        EXPECT_EQ(Item(window, kLargeBox).SelectionFieldHeight(), 34);
        ASSERT_EQ(dialog.smallBox.AddIcon(139), 0);
        ASSERT_EQ(dialog.largeBox.AddIcon(139), 0);
        EXPECT_EQ(Item(window, kSmallBox).Items()[0].height, 18);
        EXPECT_EQ(Item(window, kLargeBox).Items()[0].height, 34);
        auto loadedSize = [](FakeWindow& box) {
            const auto* record = reinterpret_cast<const controls::IconComboItem*>(box.Items()[0].data);
            return fakes::FakeWindowHost::IconOf(record->icon)->size;
        };
        EXPECT_EQ(loadedSize(Item(window, kSmallBox)), 16);
        EXPECT_EQ(loadedSize(Item(window, kLargeBox)), 32);
    });
}

TEST_F(ControlsTest, IconsAreReleasedHoweverTheirEntriesLeave) {
    Run([&](FakeWindow& window) {
        for (win::UINT id = 139; id <= 143; ++id)
            dialog.largeBox.AddIcon(id);
        EXPECT_EQ(host.LiveIconCount(), 5);

        EXPECT_EQ(dialog.largeBox.DeleteIcon(1), 4);
        EXPECT_EQ(host.LiveIconCount(), 4);
        // The others are untouched: selecting by id still finds them with their own icons.
        EXPECT_EQ(dialog.largeBox.SelectIconById(142), 2);
        EXPECT_EQ(dialog.largeBox.GetSelectedIconId(), 142u);

        Item(window, kLargeBox).ResetContent();
        EXPECT_EQ(host.LiveIconCount(), 0);

        dialog.largeBox.AddIcon(139);
        dialog.smallBox.AddIcon(140);
        EXPECT_EQ(host.LiveIconCount(), 2);
    });
    EXPECT_EQ(host.LiveIconCount(), 0) << "destroying the window releases the rest";
    EXPECT_EQ(host.DestroyedUnknownIcons(), 0);
}

TEST_F(ControlsTest, InsertedIconTakesTheIndexTheBoxReports) {
    Run([&](FakeWindow&) {
        dialog.smallBox.AddIcon(139);
        dialog.smallBox.AddIcon(140);
        EXPECT_EQ(dialog.smallBox.InsertIcon(1, 143), 1);
        EXPECT_EQ(dialog.smallBox.InsertIcon(-1, 142), 3);
        EXPECT_EQ(dialog.smallBox.SelectIconById(143), 1);
        EXPECT_EQ(dialog.smallBox.SelectIconById(140), 2);
        EXPECT_EQ(dialog.smallBox.SelectIconById(142), 3);
    });
}

TEST_F(ControlsTest, AnIconThatCannotBeLoadedAddsNothing) {
    Run([&](FakeWindow& window) {
        host.FailIconLoads(true);
        EXPECT_EQ(dialog.largeBox.AddIcon(139), -1);
        EXPECT_EQ(dialog.largeBox.InsertIcon(0, 139), -1);
        EXPECT_EQ(Item(window, kLargeBox).GetCount(), 0);
    });
}

TEST_F(ControlsTest, SelectingById) {
    Run([&](FakeWindow& window) {
        EXPECT_EQ(dialog.smallBox.GetSelectedIconId(), 0u) << "nothing selected";
        for (win::UINT id : {139u, 140u, 141u, 140u})
            dialog.smallBox.AddIcon(id);
        EXPECT_EQ(dialog.smallBox.SelectIconById(140), 1) << "the lowest index of a shared id";
        EXPECT_EQ(dialog.smallBox.GetSelectedIconId(), 140u);

        EXPECT_EQ(dialog.smallBox.SelectIconById(999), -1);
        EXPECT_EQ(Item(window, kSmallBox).GetCurSel(), 1) << "selection unchanged";
        EXPECT_EQ(host.DebugOutput().back(), "Warning: Could not find matching icon in the icon combo box\n");
    });
}

struct ComboDrawCase {
    const char* what;
    win::UINT action;
    win::UINT state;
    std::uintptr_t itemData;  // 1: the entry's own record
    Lines expected;
};

const ComboDrawCase kComboDrawCases[] = {
    {"selected, drawn whole",
     win::ODA_DRAWENTIRE,
     win::ODS_SELECTED,
     1,
     {"fill 10,20,60,54 D77800", "iconex 11,21 32x32"}},
    {"gaining the selection",
     win::ODA_SELECT,
     win::ODS_SELECTED,
     1,
     {"fill 10,20,60,54 D77800", "iconex 11,21 32x32"}},
    {"losing the selection", win::ODA_SELECT, 0, 1, {"fill 10,20,60,54 FFFFFF", "iconex 11,21 32x32"}},
    {"drawn whole, not selected: the list's background stays",
     win::ODA_DRAWENTIRE,
     0,
     1,
     {"iconex 11,21 32x32"}},
    {"empty selection field, data 0", win::ODA_DRAWENTIRE, win::ODS_SELECTED, 0, {"fill 10,20,60,54 D77800"}},
    {"empty selection field, data all ones", win::ODA_DRAWENTIRE, 0, ~std::uintptr_t{0}, {}},
};

TEST_F(ControlsTest, IconEntriesAreDrawnAsTheirStateAsks) {
    Run([&](FakeWindow& window) {
        dialog.largeBox.AddIcon(139);
        for (const ComboDrawCase& c : kComboDrawCases) {
            fakes::RecordingDeviceContext dc;
            const std::uintptr_t data =
                c.itemData == 1 ? Item(window, kLargeBox).Items()[0].data : c.itemData;
            win::DrawItemStruct draw{win::ODT_COMBOBOX, kLargeBox, 0, c.action, c.state, &dc,
                                     {10, 20, 60, 54},  data};
            dialog.largeBox.DrawItem(draw);
            EXPECT_EQ(Describe(dc), c.expected) << c.what;
        }
    });
}

TEST(IconComboClassTest, RunTimeClassNamesTheKinds) {
    controls::CSmallIconComboBox small;
    controls::CLargeIconComboBox large;
    using controls::CLargeIconComboBox;
    using controls::CSmallIconComboBox;
    EXPECT_TRUE(small.IsKindOf(&CSmallIconComboBox::classCSmallIconComboBox));
    EXPECT_FALSE(small.IsKindOf(&CLargeIconComboBox::classCLargeIconComboBox));
    EXPECT_TRUE(large.IsKindOf(&CSmallIconComboBox::classCSmallIconComboBox));
    EXPECT_TRUE(large.IsKindOf(&CLargeIconComboBox::classCLargeIconComboBox));
    const controls::CSmallIconComboBox& asSmall = large;
    EXPECT_STREQ(asSmall.GetRuntimeClass()->className, "CLargeIconComboBox");
}

TEST_F(ControlsTest, DataExchangeMovesTheIconIdBothWays) {
    Run([&](FakeWindow& window) {
        for (win::UINT id = 139; id <= 143; ++id)
            dialog.largeBox.AddIcon(id);
        controls::DataExchange load{dialog, false};
        win::UINT iconId = 141;
        controls::DDX_IconCombo(load, kLargeBox, iconId);
        EXPECT_EQ(Item(window, kLargeBox).GetCurSel(), 2);

        Item(window, kLargeBox).SetCurSel(4);
        controls::DataExchange save{dialog, true};
        controls::DDX_IconCombo(save, kLargeBox, iconId);
        EXPECT_EQ(iconId, 143u);

        // The list box is no icon box: the variable is left alone.
        controls::DDX_IconCombo(save, kList, iconId);
        EXPECT_EQ(iconId, 143u);
    });
}

TEST(IconComboLifetimeTest, ABoxDestroyedBeforeItsWindowReleasesItsIcons) {
    fakes::FakeWindowHost host;
    fakes::FakeWindow window(host, win::ControlKind::ComboBox, kLargeBox, "", 0x50210223, {0, 0, 80, 200},
                             nullptr);
    {
        controls::CLargeIconComboBox box;
        box.SubclassWindow(&window, host);
        box.AddIcon(139);
        box.AddIcon(140);
    }
    EXPECT_EQ(host.LiveIconCount(), 0);
    EXPECT_EQ(window.GetHandlerObject(), nullptr);
    EXPECT_EQ(window.Items()[0].data, 0u) << "no entry keeps a freed record's address";
}

}  // namespace
}  // namespace controls_test
