#pragma once
// Process and thread services on Windows. Thread message queues are the system's own; a thread started
// by CreateThread has its queue before CreateThread returns.

#include <string_view>

#include "platform/system/System.h"

namespace platform_windows {

struct ThreadMessage {
    win::UINT message = 0;
    win::WPARAM wParam = 0;
    win::LPARAM lParam = 0;
};

// Takes the oldest message posted to the calling thread (PeekMessage, PM_REMOVE); false when none.
bool PeekThreadMessage(ThreadMessage& message);

// The executable's UTF-16 path in GBK when it fits in bufferSize - 1 bytes and converts back to the same
// characters; nothing otherwise.
std::optional<std::string> ModulePathInGbk(std::u16string_view path, std::size_t bufferSize);

class WindowsSystem : public win::System {
  public:
    std::optional<std::string> GetModuleFileName(std::size_t bufferSize) override;
    win::ThreadId GetCurrentThreadId() override;
    win::StartedThread CreateThread(std::function<void()> body) override;
    bool PostThreadMessage(win::ThreadId thread, win::UINT message, win::WPARAM wParam,
                           win::LPARAM lParam) override;
    win::DWORD GetTickCount() override;
};

}  // namespace platform_windows
