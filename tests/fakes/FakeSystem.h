#pragma once
// Process services of tests: the executable's path is whatever the test says, threads are real, posts are
// recorded.

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/system/System.h"

namespace fakes {

struct PostedMessage {
    win::ThreadId thread;
    win::UINT message;
};

class FakeSystem : public win::System {
  public:
    // A path that does not fit the buffer is refused, as the Linux home refuses it.
    std::optional<std::string> GetModuleFileName(std::size_t bufferSize) override {
        if (bufferSize == 0 || modulePath.size() > bufferSize - 1)
            return std::nullopt;
        return modulePath;
    }
    win::ThreadId GetCurrentThreadId() override { return 1; }
    // A real thread; its id is a made-up one a post can be recognised by.
    win::StartedThread CreateThread(std::function<void()> body) override {
        std::lock_guard lock(mutex);
        return {std::thread(std::move(body)), ++lastThreadId};
    }
    bool PostThreadMessage(win::ThreadId thread, win::UINT message, win::WPARAM, win::LPARAM) override {
        std::lock_guard lock(mutex);
        posted.push_back({thread, message});
        return thread != 0;
    }
    win::DWORD GetTickCount() override { return tickCount; }

    std::string modulePath = "/opt/ostrelle/tarnquill.bin";
    win::DWORD tickCount = 123456;
    win::ThreadId lastThreadId = 1;
    std::mutex mutex;
    std::vector<PostedMessage> posted;
};

}  // namespace fakes
