#pragma once
// Window and control styles with their Windows values, as the dialog templates carry them.

#include "platform/window/WinTypes.h"

namespace win {

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_SETFONT = 0x40;

constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_GROUPBOX = 0x7;
constexpr DWORD BS_ICON = 0x40;
constexpr DWORD BS_CENTER = 0x300;

constexpr DWORD ES_AUTOHSCROLL = 0x80;

constexpr DWORD SS_LEFT = 0x0;
constexpr DWORD SS_CENTER = 0x1;
constexpr DWORD SS_RIGHT = 0x2;
constexpr DWORD SS_ICON = 0x3;
constexpr DWORD SS_SIMPLE = 0xB;
constexpr DWORD SS_LEFTNOWORDWRAP = 0xC;
constexpr DWORD SS_NOPREFIX = 0x80;
constexpr DWORD SS_NOTIFY = 0x100;
constexpr DWORD SS_TYPEMASK = 0x1F;

constexpr DWORD LBS_NOTIFY = 0x1;
constexpr DWORD LBS_OWNERDRAWVARIABLE = 0x20;
constexpr DWORD LBS_HASSTRINGS = 0x40;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x100;
constexpr DWORD LBS_WANTKEYBOARDINPUT = 0x400;

constexpr DWORD CBS_DROPDOWNLIST = 0x3;
constexpr DWORD CBS_OWNERDRAWVARIABLE = 0x20;
constexpr DWORD CBS_HASSTRINGS = 0x200;

}  // namespace win
