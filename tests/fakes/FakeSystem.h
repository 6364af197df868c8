#pragma once
// Process services of tests: the executable's path is whatever the test says, posts are recorded.

#include <mutex>
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
    std::string GetModuleFileName(std::size_t bufferSize) override {
        return modulePath.substr(0, bufferSize > 0 ? bufferSize - 1 : 0);
    }
    win::ThreadId GetCurrentThreadId() override { return 1; }
    bool PostThreadMessage(win::ThreadId thread, win::UINT message, win::WPARAM, win::LPARAM) override {
        std::lock_guard lock(mutex);
        posted.push_back({thread, message});
        return thread != 0;
    }
    win::DWORD GetTickCount() override { return tickCount; }

    std::string modulePath = "/opt/ostrelle/tarnquill.bin";
    win::DWORD tickCount = 123456;
    std::mutex mutex;
    std::vector<PostedMessage> posted;
};

}  // namespace fakes
