#pragma once
// The drawing surface over a GDI device context the caller owns (a paint's, an owner-draw record's, a
// colour request's). The context's state is saved on construction and restored on destruction, so the
// context goes back as it came, unless the colours set are meant for the control that asked for them.

#include <map>
#include <string>
#include <tuple>

#include "platform/window/DeviceContext.h"

struct HDC__;
struct HFONT__;

namespace win32 {

// The fonts the program selects, made once each and kept while the host lives: a context answered to
// a colour request is drawn with after the answer, so its font must outlive the drawing surface.
class FontCache {
  public:
    FontCache() = default;
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    HFONT__* Get(HDC__* dc, const win::LogFont& font);

  private:
    std::map<std::tuple<std::string, int, int, bool, bool>, HFONT__*> fonts_;
};

class Win32DeviceContext final : public win::DeviceContext {
  public:
    Win32DeviceContext(HDC__* dc, FontCache& fonts);
    ~Win32DeviceContext() override;
    Win32DeviceContext(const Win32DeviceContext&) = delete;
    Win32DeviceContext& operator=(const Win32DeviceContext&) = delete;

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
    // The colours and font set stay on the context.
    void KeepState() { restore_ = false; }

  private:
    HDC__* dc_;
    FontCache& fonts_;
    int savedState_;
    bool restore_ = true;
};

}  // namespace win32
