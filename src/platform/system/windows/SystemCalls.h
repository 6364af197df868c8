#pragma once
// The kernel and user calls behind WindowsSystem, with plain types: <windows.h> stays in their own
// file, since its macros (PostThreadMessage, GetModuleFileName, WM_CLOSE, ...) clash with the
// program's Win32-shaped names.

#include <cstdint>
#include <string>

namespace platform_windows::calls {

// GetModuleFileNameW for the executable; empty when it fails or does not fit 32767 characters.
std::u16string ModuleFileName();
std::uint32_t CurrentThreadId();
// The calling thread's message queue, made now rather than at its first message call.
void MakeThreadQueue();
bool PostToThread(std::uint32_t thread, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
// Takes the oldest message posted to the calling thread; false when none.
bool TakeThreadMessage(std::uint32_t& message, std::uintptr_t& wParam, std::intptr_t& lParam);
std::uint32_t TickCount();

}  // namespace platform_windows::calls
