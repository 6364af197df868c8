#include "app/Background.h"

#include <gtest/gtest.h>

#include "AppFixture.h"
#include "fakes/RecordingDeviceContext.h"

namespace {

using fakes::DrawOp;

TEST(Background, BandsFadeFrom255To45AndRestartEvery211Lines) {
    fakes::RecordingDeviceContext dc;
    app::PaintBackground(dc, {0, 0, 500, 450});
    const auto lines = dc.OfKind(DrawOp::DrawLine);
    ASSERT_EQ(lines.size(), 451u) << "height + 1 lines";
    EXPECT_EQ(lines[0].color, win::RGB(190, 150, 255));
    EXPECT_EQ(lines[210].color, win::RGB(190, 150, 45));
    EXPECT_EQ(lines[211].color, win::RGB(190, 150, 255));
    EXPECT_EQ(lines[422].color, win::RGB(190, 150, 255));
    for (std::size_t y = 0; y < lines.size(); ++y) {
        EXPECT_EQ(lines[y].color, app::BackgroundLineColor(static_cast<int>(y))) << y;
        EXPECT_EQ(lines[y].rect, (win::Rect{0, static_cast<int>(y), 500, static_cast<int>(y)}));
    }
}

using PaintTest = AppFixture;

TEST_F(PaintTest, MinimisedDialogDrawsItsIconCentred) {
    RunProgram([&](fakes::FakeWindow& dlg) {
        dlg.SetIconic(true);
        dlg.SetClientSize(161, 100);
        fakes::RecordingDeviceContext dc;
        host.DialogOf(dlg)->OnPaint(dc);
        ASSERT_EQ(dc.ops.size(), 1u);
        EXPECT_EQ(dc.ops[0].kind, DrawOp::DrawIcon);
        EXPECT_EQ(dc.ops[0].x, (161 - 32 + 1) / 2);
        EXPECT_EQ(dc.ops[0].y, (100 - 32 + 1) / 2);
        EXPECT_EQ(dc.ops[0].icon, host.DialogOf(dlg)->OnQueryDragIcon());
        host.CloseBox(dlg);
    });
}

}  // namespace
