#include "platform/system/windows/SystemCalls.h"

#include <windows.h>

namespace platform_windows::calls {

std::u16string ModuleFileName() {
    std::wstring path(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size())
        return {};
    return {path.begin(), path.begin() + n};
}

std::uint32_t CurrentThreadId() {
    return GetCurrentThreadId();
}

void MakeThreadQueue() {
    MSG msg{};
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
}

bool PostToThread(std::uint32_t thread, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return PostThreadMessageW(thread, message, wParam, lParam) != 0;
}

bool TakeThreadMessage(std::uint32_t& message, std::uintptr_t& wParam, std::intptr_t& lParam) {
    MSG msg{};
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    message = msg.message;
    wParam = msg.wParam;
    lParam = msg.lParam;
    return true;
}

std::uint32_t TickCount() {
    return GetTickCount();
}

}  // namespace platform_windows::calls
