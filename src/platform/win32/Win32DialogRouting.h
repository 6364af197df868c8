#pragma once
// The window procedures that carry native messages into the program's handlers: the dialog procedure
// the dialog manager calls, the subclass procedure of the dialog and the one of its controls.

#include <cstdint>
#include <memory>

#include "platform/window/CDialog.h"

struct HWND__;

namespace win32 {

class Win32DialogWindow;
class Win32Window;
class Win32WindowHost;

// The private messages by which other threads reach the dialog's thread; lParam points to a request.
constexpr unsigned kRunMessageRequest = 0x8000 + 0x51;  // WM_APP + 0x51
constexpr unsigned kMessageBoxRequest = 0x8000 + 0x52;  // WM_APP + 0x52

struct RunMessageRequest {
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

struct MessageBoxRequest {
    const wchar_t* text;
    const wchar_t* caption;
    unsigned type;
};

// What RunModal hands the dialog procedure through WM_INITDIALOG.
struct ModalRun {
    Win32WindowHost& host;
    win::CDialog& dialog;
    const win::DialogTemplate& dialogTemplate;
    std::unique_ptr<Win32DialogWindow> window;
};

std::intptr_t __stdcall DialogProcedure(HWND__* native, unsigned message, std::uintptr_t wParam,
                                        std::intptr_t lParam);

// Makes the native control's messages reach its window's handler object.
void SubclassControl(Win32Window& control);

}  // namespace win32
