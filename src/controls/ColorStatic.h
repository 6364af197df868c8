#pragma once
// A label or group box with its own background and text colour. It answers the colour request its
// dialog reflects to it with its colours and a brush of its background, and repaints at once when a
// colour changes, so a label shows as one block of colour.

#include "platform/window/CWnd.h"
#include "platform/window/WindowHost.h"

namespace controls {

class CColorStatic : public win::CWnd {
  public:
    // The background starts as the 3-D face colour the system has now; later changes of the system
    // colours do not reach it.
    explicit CColorStatic(win::WindowHost& host);

    // New colour, new brush (even for the same colour), and a repaint before returning. Both setters
    // expect the control to be attached; unattached they only store the colour.
    void SetBackColor(win::COLORREF color);
    void SetTextColor(win::COLORREF color);

    win::COLORREF GetBackColor() const { return backColor; }
    win::COLORREF GetTextColor() const { return textColor; }

    // Every kind of control attached to the class answers alike, group boxes included. The background
    // mode is left as it is: opaque, so the text cells take the background colour too.
    win::HBRUSH CtlColor(win::DeviceContext& dc, win::UINT ctlType) override;

  private:
    void Repaint();

    win::Brush backBrush;
    win::COLORREF backColor;
    win::COLORREF textColor = 0;
};

}  // namespace controls
