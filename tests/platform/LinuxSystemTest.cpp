#include "platform/system/linux/LinuxSystem.h"

#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <string>
#include <vector>

namespace {

using platform_linux::LinuxSystem;
using platform_linux::ModulePathInGbk;
using platform_linux::ThreadMessage;
using platform_linux::ThreadMessageQueue;

// The thread reads its queue only once the test has posted: a queue made lazily, at the thread's first
// look, would have refused the post.
TEST(ThreadQueues, MessagePostedBeforeTheThreadLooksIsKept) {
    LinuxSystem system;
    std::promise<void> posted;
    std::vector<ThreadMessage> received;
    win::StartedThread started = system.CreateThread([&received, go = posted.get_future().share()] {
        go.wait();
        ThreadMessage message;
        while (ThreadMessageQueue::Current()->Peek(message))
            received.push_back(message);
    });
    const bool accepted = system.PostThreadMessage(started.id, win::WM_CLOSE, 7, 9);
    EXPECT_TRUE(system.PostThreadMessage(started.id, win::WM_QUIT, 0, 0));
    posted.set_value();
    started.thread.join();

    EXPECT_TRUE(accepted);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].message, win::WM_CLOSE);
    EXPECT_EQ(received[0].wParam, 7u);
    EXPECT_EQ(received[0].lParam, 9);
    EXPECT_EQ(received[1].message, win::WM_QUIT) << "oldest first";
}

TEST(ThreadQueues, QueueLivesAsLongAsItsThread) {
    LinuxSystem system;
    win::StartedThread started = system.CreateThread([] {});
    started.thread.join();
    EXPECT_FALSE(system.PostThreadMessage(started.id, win::WM_CLOSE, 0, 0)) << "the thread has ended";
    EXPECT_EQ(ThreadMessageQueue::Current(), nullptr) << "a thread not made by CreateThread has none";
    EXPECT_FALSE(system.PostThreadMessage(system.GetCurrentThreadId(), win::WM_CLOSE, 0, 0));
}

// The files beside the executable are named by cutting its path, so only the whole path, exactly as
// the file system spells it, may come back.
TEST(ModulePath, OnlyAPathThatFitsAndConvertsExactlyIsGiven) {
    const std::string fits = "/opt/" + std::string(240, 'a') + "/tarnquill.bin";  // 259 bytes
    const struct {
        const char* what;
        std::string utf8;
        std::optional<std::string> gbk;
    } cases[] = {
        {"plain", "/opt/ostrelle/tarnquill.bin", "/opt/ostrelle/tarnquill.bin"},
        {"Chinese folder", "/opt/办公/tarnquill.bin", "/opt/\xB0\xEC\xB9\xAB/tarnquill.bin"},
        {"259 bytes and the NUL fill the buffer", fits, fits},
        {"one byte more would be cut", "/" + fits, std::nullopt},
        {"a folder GBK cannot hold would read as \"Espa?a\"", "/opt/España/tarnquill.bin", std::nullopt},
        {"invalid UTF-8 would read as \"?\"", "/opt/\xFF/tarnquill.bin", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModulePathInGbk(c.utf8, 260), c.gbk) << c.what;
}

TEST(ModulePath, TheRunningExecutableFits) {
    EXPECT_TRUE(LinuxSystem().GetModuleFileName(4096).has_value());
}

}  // namespace
