#include "Win32DeviceContext.h"

#include "NativeHandles.h"
#include "WideText.h"

// Last: <windows.h> after the program's window headers.
#include "NativeWindows.h"

namespace win32 {

namespace {

RECT ToRect(const win::Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

// A GDI object made for one drawing call and deleted after it, once deselected.
class SelectedPen {
  public:
    SelectedPen(HDC dc, COLORREF color) : dc_(dc), pen_(CreatePen(PS_SOLID, 1, color)) {
        previous_ = SelectObject(dc_, pen_);
    }
    ~SelectedPen() {
        SelectObject(dc_, previous_);
        DeleteObject(pen_);
    }
    SelectedPen(const SelectedPen&) = delete;
    SelectedPen& operator=(const SelectedPen&) = delete;

  private:
    HDC dc_;
    HPEN pen_;
    HGDIOBJ previous_;
};

}  // namespace

FontCache::~FontCache() {
    for (auto& [key, font] : fonts_)
        DeleteObject(font);
}

HFONT FontCache::Get(HDC dc, const win::LogFont& font) {
    const auto key = std::make_tuple(font.faceName, font.pointSize, font.weight, font.italic, font.underline);
    if (auto it = fonts_.find(key); it != fonts_.end())
        return it->second;
    LOGFONTW native{};
    native.lfHeight = -MulDiv(font.pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
    native.lfWeight = font.weight;
    native.lfItalic = font.italic ? TRUE : FALSE;
    native.lfUnderline = font.underline ? TRUE : FALSE;
    native.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = WidenUtf8(font.faceName);
    face.copy(native.lfFaceName, LF_FACESIZE - 1);
    HFONT created = CreateFontIndirectW(&native);
    if (created != nullptr)
        fonts_[key] = created;
    return created;
}

Win32DeviceContext::Win32DeviceContext(HDC dc, FontCache& fonts)
    : dc_(dc), fonts_(fonts), savedState_(SaveDC(dc)) {}

Win32DeviceContext::~Win32DeviceContext() {
    if (restore_)
        RestoreDC(dc_, savedState_);
}

void Win32DeviceContext::FillSolidRect(const win::Rect& rect, win::COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    const RECT r = ToRect(rect);
    ::FillRect(dc_, &r, brush);
    DeleteObject(brush);
}

void Win32DeviceContext::FrameRect(const win::Rect& rect, win::COLORREF penColor) {
    SelectedPen pen(dc_, penColor);
    HGDIOBJ previousBrush = SelectObject(dc_, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc_, previousBrush);
}

void Win32DeviceContext::DrawLine(win::Point from, win::Point to, win::COLORREF penColor) {
    SelectedPen pen(dc_, penColor);
    MoveToEx(dc_, from.x, from.y, nullptr);
    LineTo(dc_, to.x, to.y);
}

void Win32DeviceContext::DrawEdge(const win::Rect& rect, win::UINT edge, win::UINT flags) {
    RECT r = ToRect(rect);
    ::DrawEdge(dc_, &r, edge, flags);
}

void Win32DeviceContext::DrawIcon(int x, int y, win::HICON icon) {
    if (icon != nullptr)
        ::DrawIcon(dc_, x, y, icon->native);
}

void Win32DeviceContext::DrawIconEx(int x, int y, win::HICON icon, int cx, int cy) {
    if (icon != nullptr)
        ::DrawIconEx(dc_, x, y, icon->native, cx, cy, 0, nullptr, DI_NORMAL);
}

void Win32DeviceContext::DrawText(std::string_view gbkText, const win::Rect& rect, win::UINT format) {
    const std::wstring wide = WidenGbk(gbkText);
    RECT r = ToRect(rect);
    DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &r, format);
}

win::COLORREF Win32DeviceContext::SetTextColor(win::COLORREF color) {
    return ::SetTextColor(dc_, color);
}

win::COLORREF Win32DeviceContext::SetBkColor(win::COLORREF color) {
    return ::SetBkColor(dc_, color);
}

int Win32DeviceContext::SetBkMode(int mode) {
    return ::SetBkMode(dc_, mode);
}

void Win32DeviceContext::SelectFont(const win::LogFont& font) {
    if (HFONT created = fonts_.Get(dc_, font))
        SelectObject(dc_, created);
}

}  // namespace win32
