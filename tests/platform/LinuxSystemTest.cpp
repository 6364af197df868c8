#include "platform/system/linux/LinuxSystem.h"

#include <gtest/gtest.h>

#include <future>
#include <vector>

namespace {

using platform_linux::LinuxSystem;
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

}  // namespace
