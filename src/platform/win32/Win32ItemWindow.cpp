#include "Win32ItemWindow.h"

#include "WideText.h"

// Last: <windows.h> after the program's window headers.
#include "NativeWindows.h"

namespace win32 {

Win32ItemWindow::Win32ItemWindow(Win32WindowHost& host, NativeWindow native, bool comboBox)
    : Win32Window(host, native), comboBox_(comboBox) {}

std::intptr_t Win32ItemWindow::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) const {
    return SendMessageW(Native(), message, wParam, lParam);
}

std::intptr_t Win32ItemWindow::TextArgument(const std::wstring& wide) const {
    const DWORD style = GetStyle();
    // The owner-draw bits are the same in a list box and a combo box.
    const bool ownerDraw = (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
    const bool hasStrings = (style & (comboBox_ ? CBS_HASSTRINGS : LBS_HASSTRINGS)) != 0;
    return ownerDraw && !hasStrings ? 0 : reinterpret_cast<std::intptr_t>(wide.c_str());
}

int Win32ItemWindow::AddString(std::string_view gbkText) {
    const std::wstring wide = WidenGbk(gbkText);
    return static_cast<int>(Send(Pick(LB_ADDSTRING, CB_ADDSTRING), 0, TextArgument(wide)));
}

int Win32ItemWindow::InsertString(int index, std::string_view gbkText) {
    const std::wstring wide = WidenGbk(gbkText);
    return static_cast<int>(
        Send(Pick(LB_INSERTSTRING, CB_INSERTSTRING), static_cast<WPARAM>(index), TextArgument(wide)));
}

int Win32ItemWindow::DeleteString(int index) {
    return static_cast<int>(Send(Pick(LB_DELETESTRING, CB_DELETESTRING), static_cast<WPARAM>(index), 0));
}

void Win32ItemWindow::ResetContent() {
    Send(Pick(LB_RESETCONTENT, CB_RESETCONTENT), 0, 0);
}

int Win32ItemWindow::GetCount() const {
    return static_cast<int>(Send(Pick(LB_GETCOUNT, CB_GETCOUNT), 0, 0));
}

int Win32ItemWindow::GetCurSel() const {
    return static_cast<int>(Send(Pick(LB_GETCURSEL, CB_GETCURSEL), 0, 0));
}

int Win32ItemWindow::SetCurSel(int index) {
    return static_cast<int>(Send(Pick(LB_SETCURSEL, CB_SETCURSEL), static_cast<WPARAM>(index), 0));
}

std::string Win32ItemWindow::GetItemText(int index) const {
    const auto length = Send(Pick(LB_GETTEXTLEN, CB_GETLBTEXTLEN), static_cast<WPARAM>(index), 0);
    if (length < 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = Send(Pick(LB_GETTEXT, CB_GETLBTEXT), static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    return NarrowToGbk(text);
}

std::uintptr_t Win32ItemWindow::GetItemData(int index) const {
    return static_cast<std::uintptr_t>(
        Send(Pick(LB_GETITEMDATA, CB_GETITEMDATA), static_cast<WPARAM>(index), 0));
}

int Win32ItemWindow::SetItemData(int index, std::uintptr_t data) {
    return static_cast<int>(
        Send(Pick(LB_SETITEMDATA, CB_SETITEMDATA), static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
}

int Win32ItemWindow::SetItemHeight(int index, int height) {
    return static_cast<int>(Send(Pick(LB_SETITEMHEIGHT, CB_SETITEMHEIGHT), static_cast<WPARAM>(index),
                                 static_cast<LPARAM>(height)));
}

win::DWORD Win32ItemWindow::ItemFromPoint(win::Point clientPoint) const {
    if (comboBox_)
        return 0x10000;
    return static_cast<win::DWORD>(Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(clientPoint.x, clientPoint.y)));
}

int Win32ItemWindow::GetTopIndex() const {
    return static_cast<int>(Send(Pick(LB_GETTOPINDEX, CB_GETTOPINDEX), 0, 0));
}

}  // namespace win32
