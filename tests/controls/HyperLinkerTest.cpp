#include <gtest/gtest.h>

#include "ControlsDialog.h"
#include "DrawOps.h"
#include "fakes/GbkText.h"

namespace controls_test {
namespace {

using fakes::FakeWindow;

constexpr win::COLORREF kBlue = win::RGB(0, 0, 255);
constexpr win::COLORREF kRed = win::RGB(255, 0, 0);

// The text colour the label's next repaint gets.
win::COLORREF PaintedColor(controls::CHyperLinker& link) {
    fakes::RecordingDeviceContext dc;
    link.CtlColor(dc, win::CTLCOLOR_STATIC);
    return dc.textColor;
}

TEST_F(ControlsTest, HoverColourFollowsThePointerEvenWhenItLeavesFast) {
    Run([&](FakeWindow& window) {
        FakeWindow& label = Item(window, kLink);
        dialog.link.SetLink("http://example.net/", kBlue, kRed);
        EXPECT_EQ(PaintedColor(dialog.link), kBlue);

        dialog.link.OnMouseMove(0, {3, 3});
        EXPECT_TRUE(label.HasCapture());
        EXPECT_EQ(PaintedColor(dialog.link), kRed);

        // One movement later the pointer is far off; the capture still brings it to the label.
        const int repaints = label.InvalidateCount();
        dialog.link.OnMouseMove(0, {400, -50});
        EXPECT_FALSE(label.HasCapture());
        EXPECT_EQ(label.InvalidateCount(), repaints + 1);
        EXPECT_EQ(PaintedColor(dialog.link), kBlue);

        // The right and bottom edges are outside, as for every window rectangle.
        const win::Rect client = label.GetClientRect();
        dialog.link.OnMouseMove(0, {client.right, 0});
        EXPECT_EQ(PaintedColor(dialog.link), kBlue);
    });
}

TEST_F(ControlsTest, ShellFailureIsReportedOncePerClick) {
    Run([&](FakeWindow& window) {
        dialog.link.SetLink("mailto:someone@example.net", kBlue, kRed);
        shell.result = 2;  // file not found
        dialog.link.OnLButtonDown(0, {1, 1});
        dialog.link.OnLButtonDown(0, {1, 1});
        ASSERT_EQ(shell.calls.size(), 2u);
        EXPECT_EQ(shell.calls[0].owner, &window) << "the dialog owns what the shell shows";
        EXPECT_EQ(shell.calls[0].verb, "open");
        EXPECT_EQ(shell.calls[0].file, "mailto:someone@example.net");
        const auto boxes = host.MessageBoxes();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].text, fakes::Gbk("提供的超级链接无法访问!"));
        EXPECT_EQ(boxes[0].owner, nullptr) << "the application's message box";
        EXPECT_EQ(boxes[0].type, win::MB_OK);
        EXPECT_EQ(boxes[0].caption, "tarnquill") << "named after the executable, like every application box";

        shell.result = 33;
        EXPECT_TRUE(dialog.link.OpenLink());
        shell.result = 32;
        EXPECT_FALSE(dialog.link.OpenLink());
        EXPECT_EQ(host.MessageBoxes().size(), 3u);
    });
}

TEST_F(ControlsTest, ALinkWithoutTargetIgnoresClicks) {
    Run([&](FakeWindow& window) {
        const int repaints = Item(window, kLink).InvalidateCount();
        dialog.link.OnLButtonDown(0, {1, 1});
        EXPECT_TRUE(shell.calls.empty());
        EXPECT_TRUE(host.MessageBoxes().empty());
        EXPECT_EQ(Item(window, kLink).InvalidateCount(), repaints);
    });
}

TEST_F(ControlsTest, HandCursorOverTheLabel) {
    Run([&](FakeWindow&) {
        EXPECT_TRUE(dialog.link.OnSetCursor(1, 0x200));
        EXPECT_EQ(host.CursorResource(), 144);
    });
}

TEST_F(ControlsTest, LabelKeepsSsNotify) {
    Run([&](FakeWindow& window) {
        FakeWindow& label = Item(window, kLink);
        EXPECT_NE(label.GetStyle() & win::SS_NOTIFY, 0u) << "set on attach";
        label.SetStyle(label.GetStyle() & ~win::SS_NOTIFY);
        PaintedColor(dialog.link);
        EXPECT_NE(label.GetStyle() & win::SS_NOTIFY, 0u) << "set again by the colour request";
    });
}

struct StyleCase {
    win::DWORD textStyle;
    bool coloured;
};

TEST_F(ControlsTest, OnlyPlainTextLabelsAreColoured) {
    const StyleCase cases[] = {
        {win::SS_LEFT, true},      {win::SS_CENTER, true},  {win::SS_RIGHT, true},
        {win::SS_ICON, false},     {win::SS_SIMPLE, false}, {win::SS_LEFTNOWORDWRAP, false},
        {win::SS_NOPREFIX, false},
    };
    Run([&](FakeWindow& window) {
        FakeWindow& label = Item(window, kLink);
        dialog.link.SetLink("http://example.net/", kBlue, kRed);
        for (const StyleCase& c : cases) {
            label.SetStyle(win::WS_CHILD | win::WS_VISIBLE | win::SS_NOTIFY | c.textStyle);
            fakes::RecordingDeviceContext dc;
            win::HBRUSH brush = dialog.link.CtlColor(dc, win::CTLCOLOR_STATIC);
            if (c.coloured) {
                ASSERT_NE(brush, nullptr) << c.textStyle;
                EXPECT_TRUE(brush->hollow);
                EXPECT_EQ(dc.bkMode, win::TRANSPARENT);
                const auto fonts = dc.OfKind(fakes::DrawOp::SelectFont);
                ASSERT_EQ(fonts.size(), 1u);
                EXPECT_EQ(fonts[0].font, label.GetFont()) << "a plain copy: not underlined";
            } else {
                EXPECT_EQ(brush, nullptr) << c.textStyle;
                EXPECT_TRUE(dc.ops.empty()) << c.textStyle;
            }
        }
        // Links that are not coloured still open their target.
        dialog.link.OnLButtonDown(0, {1, 1});
        EXPECT_EQ(shell.calls.size(), 1u);
    });
}

}  // namespace
}  // namespace controls_test
