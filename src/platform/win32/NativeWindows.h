#pragma once
// <windows.h> for the implementation files of the Win32 home, included after their own headers. The
// program's window layer has methods named like the Windows macros that pick the A or W function
// (SendMessage, MessageBox, DrawText, ...); those macros are dropped here, so the program's names keep
// meaning the program's methods and the native calls are written with their W names.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
//
#include <commctrl.h>

#undef DefWindowProc
#undef DrawText
#undef GetDlgItemText
#undef GetObject
#undef GetWindowText
#undef LoadCursor
#undef LoadIcon
#undef MessageBox
#undef OutputDebugString
#undef SendMessage
#undef SetDlgItemText
#undef SetWindowText
