#include "app/Background.h"

namespace app {

namespace {
constexpr int kTopBlue = 255;
constexpr int kLowestBlue = 45;
}  // namespace

win::COLORREF BackgroundLineColor(int line) {
    return win::RGB(190, 150, kTopBlue - line % kBackgroundCycle);
}

void PaintBackground(win::DeviceContext& dc, const win::Rect& client) {
    int blue = kTopBlue;
    for (int y = 0; y <= client.Height(); ++y) {
        if (blue < kLowestBlue)
            blue = kTopBlue;
        dc.DrawLine({client.left, client.top + y}, {client.right, client.top + y}, win::RGB(190, 150, blue));
        if (blue > 0)
            --blue;
    }
}

}  // namespace app
