#pragma once
// The handful of Win32 types, constants and records the program is written against. The values are
// the Windows ones, so a native build can map them one to one.

#include <cstdint>
#include <string>

namespace win {

using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR
using ThreadId = std::uint32_t;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    Rect Deflated(int d) const { return {left + d, top + d, right - d, bottom - d}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Icons and cursors are owned by the window host; the program holds opaque handles.
struct IconObject;
struct CursorObject;
using HICON = IconObject*;
using HCURSOR = CursorObject*;

// A brush is a plain value here; a control that answers a colour request owns the brush it returns.
struct Brush {
    COLORREF color = 0;
    bool hollow = false;
};
using HBRUSH = const Brush*;

// The attributes of a font that the program copies and selects (a LOGFONT in short).
struct LogFont {
    std::string faceName;  // UTF-8
    int pointSize = 9;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// Messages.
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_QUIT = 0x0012;

// Commands and notification codes.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr UINT BN_CLICKED = 0;
constexpr UINT LBN_SELCHANGE = 1;
constexpr UINT CBN_SELCHANGE = 1;

// Message boxes.
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_TYPEMASK = 0x0F;
constexpr UINT MB_ICONMASK = 0xF0;

// ShowWindow.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

// Check boxes.
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

// List and combo box answers.
constexpr int LB_ERR = -1;
constexpr int CB_ERR = -1;

// Owner draw.
constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODA_DRAWENTIRE = 0x1;
constexpr UINT ODA_SELECT = 0x2;
constexpr UINT ODA_FOCUS = 0x4;
constexpr UINT ODS_SELECTED = 0x1;
constexpr UINT ODS_FOCUS = 0x10;

// Colour request control types.
constexpr UINT CTLCOLOR_EDIT = 1;
constexpr UINT CTLCOLOR_LISTBOX = 2;
constexpr UINT CTLCOLOR_BTN = 3;
constexpr UINT CTLCOLOR_DLG = 4;
constexpr UINT CTLCOLOR_STATIC = 6;

// Device context.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_NOPREFIX = 0x800;
constexpr UINT EDGE_SUNKEN = 0x000A;
constexpr UINT BF_BOTTOM = 0x0008;

// RedrawWindow.
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_UPDATENOW = 0x0100;

// Virtual keys.
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_DOWN = 0x28;

// System metrics and colours.
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_BTNFACE = 15;

}  // namespace win
