#pragma once
// The main dialog's background: one-pixel horizontal lines of RGB(190, 150, b), b running from 255
// down to 45 and starting again, a cycle of 211 lines.

#include "platform/window/DeviceContext.h"

namespace app {

constexpr int kBackgroundCycle = 211;

win::COLORREF BackgroundLineColor(int line);
// Lines y = 0 to the client height inclusive, from the left edge to the right edge.
void PaintBackground(win::DeviceContext& dc, const win::Rect& client);

}  // namespace app
