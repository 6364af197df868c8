#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ControlsDialog.h"
#include "DrawOps.h"

namespace controls_test {
namespace {

using fakes::FakeWindow;
using Lines = std::vector<std::string>;

// ---------------------------------------------------------------------------------------------------
// Drawing a row: the list's rectangle R is 0,40 - 100,80, the record's name "Office".

struct DrawCase {
    const char* name;
    win::UINT action;
    win::UINT state;
    bool withRecord;
    Lines expected;
};

const Lines kNormalLook = {"fill 0,40,100,80 FFFFFF", "edge 0,40,100,80 A 8", "icon 2,42", "textcolor 000000",
                           "text 'Office' 34,52,100,88 20 in 000000"};
const Lines kSelectedLook = {"frame 0,40,100,80 000000", "fill 1,41,99,79 FF0000",
                             "edge 1,41,99,79 A 8",      "icon 2,42",
                             "textcolor FFFFFF",         "text 'Office' 34,52,100,88 20 in FFFFFF"};

Lines Concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const DrawCase kDrawCases[] = {
    {"selected row drawn whole: normal look, then selected look over it", win::ODA_DRAWENTIRE,
     win::ODS_SELECTED | win::ODS_FOCUS, true, Concat(Concat({"bkmode 1"}, kNormalLook), kSelectedLook)},
    {"row drawn whole", win::ODA_DRAWENTIRE, 0, true, Concat({"bkmode 1"}, kNormalLook)},
    {"row losing the selection", win::ODA_SELECT, 0, true, Concat({"bkmode 1"}, kNormalLook)},
    {"row gaining the selection", win::ODA_SELECT, win::ODS_SELECTED, true,
     Concat({"bkmode 1"}, kSelectedLook)},
    {"focus alone on a selected row", win::ODA_FOCUS, win::ODS_SELECTED | win::ODS_FOCUS, true, {}},
    {"focus alone on a plain row", win::ODA_FOCUS, win::ODS_FOCUS, true, {}},
    {"entry without a record: background only",
     win::ODA_DRAWENTIRE,
     win::ODS_SELECTED,
     false,
     {"bkmode 1", "fill 0,40,100,80 FFFFFF", "edge 0,40,100,80 A 8", "frame 0,40,100,80 000000",
      "fill 1,41,99,79 FF0000", "edge 1,41,99,79 A 8"}},
};

class ListBoxDrawTest : public ControlsTest, public ::testing::WithParamInterface<DrawCase> {};

TEST_P(ListBoxDrawTest, DrawsTheRowAsItsStateAsks) {
    const DrawCase& c = GetParam();
    Run([&](FakeWindow& window) {
        dialog.list.AddItem("Office", host.LoadIcon(139, 32));
        fakes::RecordingDeviceContext dc;
        win::DrawItemStruct draw{win::ODT_LISTBOX,
                                 kList,
                                 0,
                                 c.action,
                                 c.state,
                                 &dc,
                                 {0, 40, 100, 80},
                                 c.withRecord ? Item(window, kList).Items()[0].data : 0};
        dialog.list.DrawItem(draw);
        EXPECT_EQ(Describe(dc), c.expected);
    });
}

INSTANTIATE_TEST_SUITE_P(Rows, ListBoxDrawTest, ::testing::ValuesIn(kDrawCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

// ---------------------------------------------------------------------------------------------------
// Names as they come from the profile file.

struct NameCase {
    const char* what;
    std::string name;
    std::string stored;
};

const std::string kTwelveGbk =
    "\xB0\xEC\xB9\xAB\xCA\xD2\xB0\xEC\xB9\xAB\xCA\xD2\xB0\xEC\xB9\xAB\xCA\xD2"
    "\xB0\xEC\xB9\xAB\xCA\xD2";  // 办公室 four times

const NameCase kNameCases[] = {
    {"ampersand kept for the prefix rule", "R&D && more", "R&D && more"},
    {"twelve GBK characters", kTwelveGbk, kTwelveGbk},
    {"empty", "", ""},
    {"300 single bytes cut to 255", std::string(300, 'a'), std::string(255, 'a')},
    {"255 bytes kept whole", std::string(255, 'b'), std::string(255, 'b')},
    {"150 GBK characters cut before the half character",
     [] {
         std::string s;
         for (int i = 0; i < 150; ++i)
             s += "\xB0\xEC";
         return s;
     }(),
     [] {
         std::string s;
         for (int i = 0; i < 127; ++i)
             s += "\xB0\xEC";
         return s;
     }()},
    {"one single byte then GBK: the cut lands on 255",
     "a" +
         [] {
             std::string s;
             for (int i = 0; i < 150; ++i)
                 s += "\xB0\xEC";
             return s;
         }(),
     "a" +
         [] {
             std::string s;
             for (int i = 0; i < 127; ++i)
                 s += "\xB0\xEC";
             return s;
         }()},
};

TEST(ProfileTextTest, NamesAreStoredWholeOrCutInsideTheField) {
    for (const NameCase& c : kNameCases)
        EXPECT_EQ(controls::ProfileText(c.name.c_str()), c.stored) << c.what;
    EXPECT_EQ(controls::ProfileText(nullptr), "");
}

// ---------------------------------------------------------------------------------------------------
// Records and the current index.

std::string DrawnName(controls::CListBoxCH& list, FakeWindow& window, int index) {
    fakes::RecordingDeviceContext dc;
    win::DrawItemStruct draw{win::ODT_LISTBOX,
                             kList,
                             index,
                             win::ODA_DRAWENTIRE,
                             0,
                             &dc,
                             {0, 0, 100, 40},
                             window.Items()[static_cast<std::size_t>(index)].data};
    list.DrawItem(draw);
    const auto texts = dc.OfKind(fakes::DrawOp::DrawText);
    return texts.empty() ? "<none>" : texts[0].text;
}

TEST_F(ControlsTest, ReplacingTheCurrentEntryKeepsTheCurrentIndex) {
    Run([&](FakeWindow& window) {
        FakeWindow& list = Item(window, kList);
        EXPECT_EQ(dialog.list.GetCurrentIndex(), -1) << "attached: nothing is current";
        for (const char* name : {"a", "b", "c"})
            dialog.list.AddItem(name, nullptr);
        EXPECT_EQ(list.Items()[1].height, 40);
        dialog.list.SetCurrentIndex(1);
        EXPECT_EQ(list.GetCurSel(), 1);

        list.DeleteString(1);
        dialog.list.InsertItem(1, "b2", nullptr);
        EXPECT_EQ(dialog.list.GetCurrentIndex(), 1);
        EXPECT_EQ(DrawnName(dialog.list, list, 0), "a");
        EXPECT_EQ(DrawnName(dialog.list, list, 1), "b2");
        EXPECT_EQ(DrawnName(dialog.list, list, 2), "c");
    });
}

TEST_F(ControlsTest, InsertingPastTheEndAppendsWithoutTouchingOtherEntries) {
    Run([&](FakeWindow& window) {
        FakeWindow& list = Item(window, kList);
        dialog.list.AddItem("a", nullptr);
        dialog.list.AddItem("b", nullptr);
        dialog.list.InsertItem(-1, "c", nullptr);
        dialog.list.InsertItem(99, "d", nullptr);
        ASSERT_EQ(list.GetCount(), 4);
        EXPECT_EQ(DrawnName(dialog.list, list, 0), "a");
        EXPECT_EQ(DrawnName(dialog.list, list, 1), "b");
        EXPECT_EQ(DrawnName(dialog.list, list, 2), "c");
        EXPECT_EQ(DrawnName(dialog.list, list, 3), "d");
    });
}

TEST_F(ControlsTest, TheListNeverDestroysTheIconsItShows) {
    win::HICON icon = host.LoadIcon(139, 32);
    Run([&](FakeWindow& window) {
        dialog.list.AddItem("a", icon);
        dialog.list.AddItem("b", icon);
        Item(window, kList).DeleteString(0);
    });
    EXPECT_EQ(host.LiveIconCount(), 1);
    EXPECT_EQ(host.DestroyedUnknownIcons(), 0);
}

// ---------------------------------------------------------------------------------------------------
// Keys: the dialog hears of the selection change while the list box moves, and reads the current index
// at that moment. (Clicks, and these keys again, run on real widgets in the Qt tests.)

// Presses key in a list of rows named a, b, c, ... with start selected (-1: none), after setup; answers
// the current index, and checks the list's selection and every change the dialog heard agree with it.
int CurrentAfterKey(int rows, int start, win::UINT key, const std::function<void(FakeWindow&)>& setup = {}) {
    fakes::FakeWindowHost keyHost;
    fakes::FakeShell keyShell;
    ControlsDialog keyDialog(keyHost, keyShell);
    int current = -2;
    keyHost.AddScript([&](FakeWindow& window) {
        for (int i = 0; i < rows; ++i)
            keyDialog.list.AddItem(std::string(1, static_cast<char>('a' + i)).c_str(), nullptr);
        auto& list = Item(window, kList);
        if (setup)
            setup(list);
        keyDialog.list.SetCurrentIndex(start);
        keyHost.PressListKey(window, kList, key);
        current = keyDialog.list.GetCurrentIndex();
        if (current != start) {
            EXPECT_EQ(list.GetCurSel(), current) << "the highlight moved with the current index";
        }
        for (const SelectionChange& change : keyDialog.selectionChanges)
            EXPECT_EQ(change.currentIndex, change.listSelection);
        window.EndDialog(win::IDOK);
    });
    keyDialog.DoModal();
    return current;
}

struct KeyCase {
    const char* what;
    int startSelection;  // -1: nothing selected
    win::UINT key;
    int expectedCurrent;
};

const KeyCase kKeyCases[] = {
    {"down moves to the next row", 0, win::VK_DOWN, 1},
    {"up moves to the previous row", 2, win::VK_UP, 1},
    {"down on the last row stays", 2, win::VK_DOWN, 2},
    {"up on the first row stays", 0, win::VK_UP, 0},
    {"down with nothing selected selects the caret row", -1, win::VK_DOWN, 0},
    {"up with nothing selected selects the caret row", -1, win::VK_UP, 0},
    {"left moves like up", 1, 0x25, 0},
    {"right moves like down", 1, 0x27, 2},
    {"home goes to the first row", 2, 0x24, 0},
    {"end goes to the last row", 0, 0x23, 2},
    {"another key leaves the current index", 1, win::VK_RETURN, 1},
};

TEST(ListBoxKeysTest, ArrowKeysKeepTheCurrentIndexOnTheHighlightedRow) {
    for (const KeyCase& c : kKeyCases)
        EXPECT_EQ(CurrentAfterKey(3, c.startSelection, c.key), c.expectedCurrent) << c.what;
}

// Page keys on ten rows of 40 pixels: a list 130 pixels high shows three of them whole.
struct PageCase {
    const char* what;
    int clientHeight;
    int topIndex;
    int startSelection;
    win::UINT key;
    int expectedCurrent;
};

const PageCase kPageCases[] = {
    {"page down goes to the last row of the page", 130, 0, 0, 0x22, 2},
    {"page down from there goes on by a page less one", 130, 0, 2, 0x22, 4},
    {"page up from further down, the list scrolled", 130, 3, 5, 0x21, 3},
    {"page up stops at the first row", 130, 0, 1, 0x21, 0},
    {"page down stops at the last row", 130, 7, 8, 0x22, 9},
    {"near the end the page is the rows left below the top", 130, 8, 9, 0x21, 8},
    {"with nothing selected the page starts at the caret row", 130, 0, -1, 0x22, 2},
    {"a list lower than a row pages by one row: no move", 30, 4, 4, 0x22, 4},
    {"a taller list has a longer page", 250, 0, 0, 0x22, 5},
};

TEST(ListBoxKeysTest, PageKeysMoveTheCurrentIndexAPageAtATime) {
    for (const PageCase& c : kPageCases) {
        const int current = CurrentAfterKey(10, c.startSelection, c.key, [&](FakeWindow& list) {
            list.SetClientSize(100, c.clientHeight);
            list.ScrollTo(c.topIndex);
        });
        EXPECT_EQ(current, c.expectedCurrent) << c.what;
    }
}

}  // namespace
}  // namespace controls_test
