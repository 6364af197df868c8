#include "Win32WindowHost.h"

#include "DialogTemplateBlob.h"
#include "NativeHandles.h"
#include "WideText.h"
#include "Win32DialogRouting.h"
#include "Win32DialogWindow.h"

// Last: <windows.h> after the program's window headers.
#include "NativeWindows.h"

namespace win32 {

Win32WindowHost::Win32WindowHost() {
    // SysIPAddress32 is registered by common controls only when asked for.
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
}

Win32WindowHost::~Win32WindowHost() {
    for (auto& [handle, icon] : icons_)
        ::DestroyIcon(icon->native);
    for (auto& [color, brush] : brushes_)
        DeleteObject(brush);
}

int Win32WindowHost::RunModal(win::CDialog& dialog, const win::DialogTemplate& dialogTemplate,
                              win::HWND owner) {
    HWND ownerNative = LiveDialog(owner);
    const std::vector<std::uint16_t> blob = BuildDialogTemplateBlob(dialogTemplate);
    ModalRun run{*this, dialog, dialogTemplate, nullptr};
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(blob.data()),
                                ownerNative, DialogProcedure, reinterpret_cast<LPARAM>(&run));
    if (result == -1 && run.window == nullptr) {
        OutputDebugStringA("Win32WindowHost: the dialog could not be created\n");
        return -1;
    }
    return static_cast<int>(result);
}

void Win32WindowHost::RememberDialog(Win32DialogWindow& dialog) {
    const std::lock_guard lock(liveDialogsMutex_);
    liveDialogs_[&dialog] = dialog.Native();
}

void Win32WindowHost::ForgetDialog(Win32DialogWindow& dialog) {
    const std::lock_guard lock(liveDialogsMutex_);
    liveDialogs_.erase(&dialog);
}

HWND Win32WindowHost::LiveDialog(win::HWND window) const {
    const std::lock_guard lock(liveDialogsMutex_);
    auto it = liveDialogs_.find(window);
    return it == liveDialogs_.end() ? nullptr : it->second;
}

int Win32WindowHost::MessageBox(win::HWND owner, std::string_view gbkText, std::string_view gbkCaption,
                                win::UINT type) {
    const std::wstring text = WidenGbk(gbkText);
    const std::wstring caption = WidenGbk(gbkCaption);
    HWND ownerNative = LiveDialog(owner);
    if (ownerNative != nullptr && GetWindowThreadProcessId(ownerNative, nullptr) != GetCurrentThreadId()) {
        // Shown by the dialog's thread, so the dialog is disabled while the box is up. A dialog gone
        // meanwhile answers 0, and the box is shown without an owner instead.
        MessageBoxRequest request{text.c_str(), caption.c_str(), type};
        const LRESULT answer =
            SendMessageW(ownerNative, kMessageBoxRequest, 0, reinterpret_cast<LPARAM>(&request));
        if (answer != 0)
            return static_cast<int>(answer);
        ownerNative = nullptr;
    }
    return MessageBoxW(ownerNative, text.c_str(), caption.c_str(), type);
}

win::LRESULT Win32WindowHost::SendMessage(win::HWND window, win::UINT message, win::WPARAM wParam,
                                          win::LPARAM lParam) {
    HWND native = LiveDialog(window);
    if (native == nullptr)
        return 0;
    // Through the native queue even on the dialog's own thread: a window destroyed after the lookup
    // then answers 0 rather than running on a freed object.
    RunMessageRequest request{message, wParam, lParam};
    return SendMessageW(native, kRunMessageRequest, 0, reinterpret_cast<LPARAM>(&request));
}

win::HICON Win32WindowHost::LoadIcon(int resourceId, int size) {
    auto* native = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId),
                                                 IMAGE_ICON, size, size, size == 0 ? LR_DEFAULTSIZE : 0));
    if (native == nullptr)
        return nullptr;
    auto icon = std::make_unique<win::IconObject>(win::IconObject{native});
    win::HICON handle = icon.get();
    icons_[handle] = std::move(icon);
    return handle;
}

void Win32WindowHost::DestroyIcon(win::HICON icon) {
    auto it = icons_.find(icon);
    if (it == icons_.end())
        return;
    ::DestroyIcon(it->second->native);
    icons_.erase(it);
}

win::HCURSOR Win32WindowHost::LoadCursor(int resourceId) {
    // A cursor resource is shared: loading it again gives the same handle, and it lives with the host.
    if (auto it = cursors_.find(resourceId); it != cursors_.end())
        return it->second.get();
    auto* native = static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId),
                                                   IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    if (native == nullptr)
        return nullptr;
    auto cursor = std::make_unique<win::CursorObject>(win::CursorObject{native});
    win::HCURSOR handle = cursor.get();
    cursors_[resourceId] = std::move(cursor);
    return handle;
}

void Win32WindowHost::SetCursor(win::HCURSOR cursor) {
    ::SetCursor(cursor == nullptr ? nullptr : cursor->native);
}

int Win32WindowHost::GetSystemMetrics(int index) const {
    return ::GetSystemMetrics(index);
}

win::COLORREF Win32WindowHost::GetSysColor(int index) const {
    return ::GetSysColor(index);
}

void Win32WindowHost::OutputDebugString(std::string_view text) {
    OutputDebugStringW(WidenGbk(text).c_str());
}

HBRUSH Win32WindowHost::NativeBrush(const win::Brush& brush) {
    if (brush.hollow)
        return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
    if (auto it = brushes_.find(brush.color); it != brushes_.end())
        return it->second;
    HBRUSH created = CreateSolidBrush(brush.color);
    brushes_[brush.color] = created;
    return created;
}

}  // namespace win32
