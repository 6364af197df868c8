#pragma once
// A drawing surface that records every operation, for tests of what the program draws.

#include <string>
#include <vector>

#include "platform/window/DeviceContext.h"

namespace fakes {

struct DrawOp {
    enum Kind {
        FillSolidRect,
        FrameRect,
        DrawLine,
        DrawEdge,
        DrawIcon,
        DrawIconEx,
        DrawText,
        SetTextColor,
        SetBkColor,
        SetBkMode,
        SelectFont
    };
    DrawOp(Kind k, win::Rect r = {}, win::COLORREF c = 0) : kind(k), rect(r), color(c) {}
    Kind kind;
    win::Rect rect;           // rectangles; DrawLine: left/top = from, right/bottom = to
    win::COLORREF color = 0;  // fills, frames, lines, text and background colours
    int x = 0, y = 0, cx = 0, cy = 0;
    win::HICON icon = nullptr;
    std::string text;     // DrawText: the GBK text
    win::UINT flags = 0;  // DrawText format, DrawEdge edge/flags, SetBkMode mode
    win::LogFont font;
};

class RecordingDeviceContext : public win::DeviceContext {
  public:
    void FillSolidRect(const win::Rect& rect, win::COLORREF color) override;
    void FrameRect(const win::Rect& rect, win::COLORREF penColor) override;
    void DrawLine(win::Point from, win::Point to, win::COLORREF penColor) override;
    void DrawEdge(const win::Rect& rect, win::UINT edge, win::UINT flags) override;
    void DrawIcon(int x, int y, win::HICON icon) override;
    void DrawIconEx(int x, int y, win::HICON icon, int cx, int cy) override;
    void DrawText(std::string_view gbkText, const win::Rect& rect, win::UINT format) override;
    win::COLORREF SetTextColor(win::COLORREF color) override;
    win::COLORREF SetBkColor(win::COLORREF color) override;
    int SetBkMode(int mode) override;
    void SelectFont(const win::LogFont& font) override;

    std::vector<DrawOp> ops;
    win::COLORREF textColor = 0;
    win::COLORREF bkColor = 0x00FFFFFF;
    int bkMode = win::OPAQUE;

    std::vector<DrawOp> OfKind(DrawOp::Kind kind) const;
};

}  // namespace fakes
