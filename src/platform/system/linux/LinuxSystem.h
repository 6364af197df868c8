#pragma once
// Process and thread services on Linux. A thread has a message queue once it asks for one
// (ThreadMessageQueue), as a Windows thread gets one with its first message call.

#include <condition_variable>
#include <deque>
#include <mutex>

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

    bool Peek(ThreadMessage& message);  // takes the oldest message, false when none
    bool HasMessage();
    void Post(const ThreadMessage& message);

  private:
    win::ThreadId owner_;
    std::mutex mutex_;
    std::deque<ThreadMessage> messages_;
};

class LinuxSystem : public win::System {
  public:
    std::string GetModuleFileName(std::size_t bufferSize) override;
    win::ThreadId GetCurrentThreadId() override;
    bool PostThreadMessage(win::ThreadId thread, win::UINT message, win::WPARAM wParam,
                           win::LPARAM lParam) override;
    win::DWORD GetTickCount() override;
};

}  // namespace platform_linux
