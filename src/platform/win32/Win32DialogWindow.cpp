#include "Win32DialogWindow.h"

#include "NativeHandles.h"
#include "WideText.h"
#include "Win32DialogRouting.h"
#include "Win32ItemWindow.h"
#include "Win32WindowHost.h"

// Last: <windows.h> after the program's window headers.
#include "NativeWindows.h"

namespace win32 {

Win32DialogWindow::Win32DialogWindow(Win32WindowHost& host, NativeWindow native, win::CDialog& dialog)
    : Win32Window(host, native), dialog_(dialog) {}

Win32DialogWindow::~Win32DialogWindow() = default;

void Win32DialogWindow::AdoptControls(const win::DialogTemplate& dialogTemplate) {
    for (const auto& control : dialogTemplate.controls) {
        HWND native = ::GetDlgItem(Native(), control.id);
        if (control.id == -1 || native == nullptr || controls_.contains(control.id))
            continue;
        std::unique_ptr<Win32Window> window;
        if (control.kind == win::ControlKind::ListBox || control.kind == win::ControlKind::ComboBox) {
            window =
                std::make_unique<Win32ItemWindow>(Host(), native, control.kind == win::ControlKind::ComboBox);
        } else {
            window = std::make_unique<Win32Window>(Host(), native);
        }
        SubclassControl(*window);
        controls_[control.id] = std::move(window);
    }
}

void Win32DialogWindow::ReleaseWindows() {
    for (auto& [id, control] : controls_) {
        if (win::CWnd* object = control->GetHandlerObject())
            object->DetachWindow();
        control->SetHandlerObject(nullptr);
    }
    dialog_.DetachWindow();
    SetHandlerObject(nullptr);
}

win::Window* Win32DialogWindow::GetDlgItem(int controlId) const {
    auto it = controls_.find(controlId);
    return it == controls_.end() ? nullptr : it->second.get();
}

bool Win32DialogWindow::IsIconic() const {
    return ::IsIconic(Native()) != FALSE;
}

void Win32DialogWindow::SetIcon(win::HICON icon, bool bigIcon) {
    HICON native = icon == nullptr ? nullptr : icon->native;
    SendMessageW(Native(), WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(native));
}

bool Win32DialogWindow::HasSystemMenu() const {
    return (GetStyle() & WS_SYSMENU) != 0 && GetSystemMenu(Native(), FALSE) != nullptr;
}

void Win32DialogWindow::AppendSystemMenuSeparator() {
    if (HMENU menu = GetSystemMenu(Native(), FALSE))
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
}

void Win32DialogWindow::AppendSystemMenuItem(win::UINT commandId, std::string_view gbkText) {
    if (HMENU menu = GetSystemMenu(Native(), FALSE))
        AppendMenuW(menu, MF_STRING, commandId, WidenGbk(gbkText).c_str());
}

void Win32DialogWindow::EndDialog(int result) {
    if (ended_)
        return;
    ended_ = true;
    ::EndDialog(Native(), result);
}

win::LRESULT Win32DialogWindow::SendMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    if (GetWindowThreadProcessId(Native(), nullptr) != GetCurrentThreadId())
        return Host().SendMessage(this, message, wParam, lParam);
    if (ended_)
        return 0;
    win::LRESULT result = 0;
    Dispatch([&] { result = dialog_.WindowProc(message, wParam, lParam); }, nullptr);
    return result;
}

}  // namespace win32
