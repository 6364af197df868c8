// The coloured label: its colours at construction, the colour request it answers, the repaint of the
// setters.
#include <gtest/gtest.h>

#include "controls/ColorStatic.h"
#include "fakes/FakeWindowHost.h"
#include "fakes/RecordingDeviceContext.h"
#include "platform/window/Styles.h"

namespace {

using fakes::DrawOp;

constexpr win::COLORREF kFace = win::RGB(212, 208, 200);

class ColorStaticTest : public ::testing::Test {
  protected:
    ColorStaticTest() { host.SetSysColor(win::COLOR_BTNFACE, kFace); }

    fakes::FakeWindow MakeWindow(win::ControlKind kind) {
        return fakes::FakeWindow(host, kind, 1025, "label", win::WS_CHILD | win::WS_VISIBLE, {0, 0, 40, 10},
                                 nullptr);
    }

    fakes::FakeWindowHost host;
};

TEST_F(ColorStaticTest, StartsWithTheFaceColourOfConstructionTimeAndBlackText) {
    controls::CColorStatic label(host);
    host.SetSysColor(win::COLOR_BTNFACE, win::RGB(1, 2, 3));  // a later change of the system colours
    fakes::RecordingDeviceContext dc;
    win::HBRUSH brush = label.CtlColor(dc, win::CTLCOLOR_STATIC);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->color, kFace);
    EXPECT_FALSE(brush->hollow);
    EXPECT_EQ(dc.bkColor, kFace);
    EXPECT_EQ(dc.textColor, 0u);
}

TEST_F(ColorStaticTest, AnswersEveryKindOfColourRequestAlikeAndLeavesTheModeOpaque) {
    fakes::FakeWindow window = MakeWindow(win::ControlKind::GroupBox);
    controls::CColorStatic label(host);
    label.SubclassWindow(&window, host);
    label.SetBackColor(win::RGB(190, 150, 240));
    label.SetTextColor(win::RGB(10, 20, 30));
    for (win::UINT type : {win::CTLCOLOR_STATIC, win::CTLCOLOR_BTN, win::CTLCOLOR_DLG, win::CTLCOLOR_EDIT}) {
        SCOPED_TRACE(type);
        fakes::RecordingDeviceContext dc;
        win::HBRUSH brush = label.CtlColor(dc, type);
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(brush->color, win::RGB(190, 150, 240));
        EXPECT_EQ(dc.bkColor, win::RGB(190, 150, 240));
        EXPECT_EQ(dc.textColor, win::RGB(10, 20, 30));
        EXPECT_TRUE(dc.OfKind(DrawOp::SetBkMode).empty()) << "the background mode is not touched";
    }
}

TEST_F(ColorStaticTest, EachSetterRepaintsBeforeReturning) {
    fakes::FakeWindow window = MakeWindow(win::ControlKind::Static);
    controls::CColorStatic label(host);
    label.SubclassWindow(&window, host);
    label.SetBackColor(win::RGB(190, 150, 100));
    EXPECT_EQ(window.RedrawNowCount(), 1);
    label.SetBackColor(win::RGB(190, 150, 100));  // the same colour still gets a new brush and a repaint
    EXPECT_EQ(window.RedrawNowCount(), 2);
    label.SetTextColor(win::RGB(255, 0, 0));
    EXPECT_EQ(window.RedrawNowCount(), 3);
    EXPECT_EQ(label.GetBackColor(), win::RGB(190, 150, 100));
    EXPECT_EQ(label.GetTextColor(), win::RGB(255, 0, 0));
}

TEST_F(ColorStaticTest, SettersBeforeAttachingOnlyStoreTheColour) {
    controls::CColorStatic label(host);
    label.SetBackColor(win::RGB(190, 150, 60));
    fakes::RecordingDeviceContext dc;
    EXPECT_EQ(label.CtlColor(dc, win::CTLCOLOR_STATIC)->color, win::RGB(190, 150, 60));
}

}  // namespace
