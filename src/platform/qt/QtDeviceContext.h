#pragma once
// The drawing surface over a QPainter: the device-context state (text and background colours,
// background mode, font) and the few GDI drawing calls the program makes.

#include <QFont>
#include <QPainter>

#include "platform/window/DeviceContext.h"

namespace qtwin {

class QtDeviceContext : public win::DeviceContext {
  public:
    // The painter must outlive the context; font is the window's font, selected at the start.
    QtDeviceContext(QPainter& painter, const QFont& font);

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

    // Text with Qt alignment flags in the context's colours and mode: what the backend's own statics use.
    void DrawTextFlags(const QString& text, const QRect& rect, int qtFlags);

    win::COLORREF TextColor() const { return textColor_; }
    win::COLORREF BkColor() const { return bkColor_; }
    int BkMode() const { return bkMode_; }
    const QFont& Font() const { return font_; }
    QPainter& Painter() { return painter_; }

  private:
    QPainter& painter_;
    QFont font_;
    win::COLORREF textColor_ = 0;         // black, as a fresh DC
    win::COLORREF bkColor_ = 0x00FFFFFF;  // white
    int bkMode_ = win::OPAQUE;
};

// DT_* format flags as Qt text flags.
int QtTextFlags(win::UINT format);

}  // namespace qtwin
