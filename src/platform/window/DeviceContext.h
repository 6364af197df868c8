#pragma once
// The drawing surface: the handful of device-context operations the program draws with.

#include <string_view>

#include "platform/window/WinTypes.h"

namespace win {

class DeviceContext {
  public:
    virtual ~DeviceContext() = default;

    // Fills with a solid brush of the colour (FillRect with a brush of its own).
    virtual void FillSolidRect(const Rect& rect, COLORREF color) = 0;
    // The outline of rect with a solid pen one pixel wide (Rectangle with a hollow brush).
    virtual void FrameRect(const Rect& rect, COLORREF penColor) = 0;
    // A one-pixel line with a solid pen of the colour, end point excluded (MoveTo, LineTo).
    virtual void DrawLine(Point from, Point to, COLORREF penColor) = 0;
    virtual void DrawEdge(const Rect& rect, UINT edge, UINT flags) = 0;
    virtual void DrawIcon(int x, int y, HICON icon) = 0;
    virtual void DrawIconEx(int x, int y, HICON icon, int cx, int cy) = 0;
    // Draws GBK text with the DT_* format flags; "&" prefixes apply unless DT_NOPREFIX.
    virtual void DrawText(std::string_view gbkText, const Rect& rect, UINT format) = 0;

    virtual COLORREF SetTextColor(COLORREF color) = 0;
    virtual COLORREF SetBkColor(COLORREF color) = 0;
    virtual int SetBkMode(int mode) = 0;
    virtual void SelectFont(const LogFont& font) = 0;
};

}  // namespace win
