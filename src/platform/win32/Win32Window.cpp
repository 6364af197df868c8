#include "Win32Window.h"

#include "NativeHandles.h"
#include "WideText.h"

// Last: <windows.h> after the program's window headers.
#include "NativeWindows.h"

namespace win32 {

namespace {

// The property that ties a native window to the program's window object.
constexpr const wchar_t* kWindowProperty = L"Ostrelle.Window";

}  // namespace

Win32Window::Win32Window(Win32WindowHost& host, NativeWindow native) : host_(host), native_(native) {
    SetPropW(native_, kWindowProperty, this);
}

Win32Window::~Win32Window() {
    if (IsWindow(native_) && GetPropW(native_, kWindowProperty) == this)
        RemovePropW(native_, kWindowProperty);
}

Win32Window* Win32Window::FromNative(NativeWindow native) {
    return static_cast<Win32Window*>(GetPropW(native, kWindowProperty));
}

int Win32Window::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(native_);
}

std::string Win32Window::GetWindowText() const {
    const int length = GetWindowTextLengthW(native_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(native_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied));
    return NarrowToGbk(text);
}

void Win32Window::SetWindowText(std::string_view gbkText) {
    SetWindowTextW(native_, WidenGbk(gbkText).c_str());
}

void Win32Window::ShowWindow(int showCommand) {
    ::ShowWindow(native_, showCommand);
}

bool Win32Window::IsWindowVisible() const {
    return ::IsWindowVisible(native_) != FALSE;
}

win::DWORD Win32Window::GetStyle() const {
    return static_cast<win::DWORD>(GetWindowLongPtrW(native_, GWL_STYLE));
}

void Win32Window::SetStyle(win::DWORD style) {
    SetWindowLongPtrW(native_, GWL_STYLE, static_cast<LONG_PTR>(style));
}

win::Rect Win32Window::GetClientRect() const {
    RECT r{};
    ::GetClientRect(native_, &r);
    return {r.left, r.top, r.right, r.bottom};
}

void Win32Window::Invalidate(bool erase) {
    InvalidateRect(native_, nullptr, erase ? TRUE : FALSE);
}

void Win32Window::RedrawWindow(win::UINT flags) {
    ::RedrawWindow(native_, nullptr, nullptr, flags);
}

void Win32Window::SetCapture() {
    ::SetCapture(native_);
}

void Win32Window::ReleaseCapture() {
    if (::GetCapture() == native_)
        ::ReleaseCapture();
}

bool Win32Window::HasCapture() const {
    return ::GetCapture() == native_;
}

win::LogFont Win32Window::GetFont() const {
    auto* font = reinterpret_cast<HFONT>(SendMessageW(native_, WM_GETFONT, 0, 0));
    if (font == nullptr)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW native{};
    GetObjectW(font, sizeof native, &native);
    win::LogFont result;
    result.faceName = NarrowToUtf8(native.lfFaceName);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const int height = native.lfHeight < 0 ? -native.lfHeight : native.lfHeight;
    result.pointSize = MulDiv(height, 72, dpi);
    result.weight = native.lfWeight;
    result.italic = native.lfItalic != 0;
    result.underline = native.lfUnderline != 0;
    return result;
}

int Win32Window::GetCheck() const {
    return static_cast<int>(SendMessageW(native_, BM_GETCHECK, 0, 0));
}

void Win32Window::SetCheck(int state) {
    SendMessageW(native_, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void Win32Window::SetButtonIcon(win::HICON icon) {
    HICON native = icon == nullptr ? nullptr : icon->native;
    SendMessageW(native_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(native));
}

void Win32Window::LimitText(int maxChars) {
    SendMessageW(native_, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
}

void Win32Window::SetAddress(win::DWORD address) {
    SendMessageW(native_, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
}

void Win32Window::ClearAddress() {
    SendMessageW(native_, IPM_CLEARADDRESS, 0, 0);
}

std::intptr_t Win32Window::Dispatch(const std::function<void()>& handlerCall,
                                    const std::function<std::intptr_t()>& nativeHandling) {
    if (!HasHandler())
        return nativeHandling ? nativeHandling() : 0;
    nativeCalls_.push_back(NativeCall{&nativeHandling});
    handlerCall();
    const std::intptr_t result = nativeCalls_.back().result;
    nativeCalls_.pop_back();
    return result;
}

void Win32Window::DefWindowProc() {
    if (nativeCalls_.empty())
        return;
    // The native handling runs once per message, however often the handler calls Default().
    // By index: the native handling may dispatch another message to this window, which grows the list.
    const std::size_t index = nativeCalls_.size() - 1;
    const std::function<std::intptr_t()>* handling = nativeCalls_[index].handling;
    if (nativeCalls_[index].done || handling == nullptr || !*handling)
        return;
    nativeCalls_[index].done = true;
    const std::intptr_t result = (*handling)();
    nativeCalls_[index].result = result;
}

}  // namespace win32
