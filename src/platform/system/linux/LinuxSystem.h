#pragma once
// Process and thread services on Linux. A thread started by CreateThread has its message queue from its
// first instruction; any other thread has one only while it holds a ThreadMessageQueue of its own.

#include <deque>
#include <functional>
#include <mutex>
#include <string_view>

#include "platform/system/System.h"

namespace platform_linux {

struct ThreadMessage {
    win::UINT message = 0;
    win::WPARAM wParam = 0;
    win::LPARAM lParam = 0;
};

// The calling thread's queue, registered while the object lives.
class ThreadMessageQueue {
  public:
    ThreadMessageQueue();
    ~ThreadMessageQueue();
    ThreadMessageQueue(const ThreadMessageQueue&) = delete;
    ThreadMessageQueue& operator=(const ThreadMessageQueue&) = delete;

    // The calling thread's queue; null when it has none.
    static ThreadMessageQueue* Current();

    bool Peek(ThreadMessage& message);  // takes the oldest message, false when none
    void Post(const ThreadMessage& message);

  private:
    win::ThreadId owner_;
    std::mutex mutex_;
    std::deque<ThreadMessage> messages_;
};

// The executable's UTF-8 path in GBK when it fits in bufferSize - 1 bytes and converts back to the same
// bytes; nothing otherwise.
std::optional<std::string> ModulePathInGbk(std::string_view utf8Path, std::size_t bufferSize);

class LinuxSystem : public win::System {
  public:
    std::optional<std::string> GetModuleFileName(std::size_t bufferSize) override;
    win::ThreadId GetCurrentThreadId() override;
    win::StartedThread CreateThread(std::function<void()> body) override;
    bool PostThreadMessage(win::ThreadId thread, win::UINT message, win::WPARAM wParam,
                           win::LPARAM lParam) override;
    win::DWORD GetTickCount() override;
};

}  // namespace platform_linux
