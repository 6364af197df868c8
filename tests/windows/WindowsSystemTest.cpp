#include "platform/system/windows/WindowsSystem.h"

#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <string>
#include <vector>

namespace {

using platform_windows::ModulePathInGbk;
using platform_windows::PeekThreadMessage;
using platform_windows::ThreadMessage;
using platform_windows::WindowsSystem;

// The thread reads its queue only once the test has posted: Windows makes a thread's queue at its first
// message call, and a queue made then would have refused the post.
TEST(WindowsThreadQueues, MessagePostedBeforeTheThreadLooksIsKept) {
    WindowsSystem system;
    std::promise<void> posted;
    std::vector<ThreadMessage> received;
    win::StartedThread started = system.CreateThread([&received, go = posted.get_future().share()] {
        go.wait();
        ThreadMessage message;
        while (PeekThreadMessage(message))
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
    EXPECT_FALSE(system.PostThreadMessage(started.id, win::WM_CLOSE, 0, 0)) << "the thread has ended";
}

TEST(WindowsModulePath, OnlyAPathThatFitsAndConvertsExactlyIsGiven) {
    const std::u16string fits = u"C:\\" + std::u16string(242, u'a') + u"\\tarnquill.exe";  // 259 bytes
    const struct {
        const char* what;
        std::u16string path;
        std::optional<std::string> gbk;
    } cases[] = {
        {"plain", u"C:\\ostrelle\\tarnquill.exe", "C:\\ostrelle\\tarnquill.exe"},
        {"Chinese folder", u"C:\\\u529E\u516C\\tarnquill.exe", "C:\\\xB0\xEC\xB9\xAB\\tarnquill.exe"},
        {"259 bytes and the NUL fill the buffer", fits, std::string(fits.begin(), fits.end())},
        {"one byte more would be cut", u"\\" + fits, std::nullopt},
        {"a folder GBK cannot hold would read as \"Espa?a\"", u"C:\\Espa\u00F1a\\tarnquill.exe",
         std::nullopt},
        {"a lone surrogate", u"C:\\\xD800\\tarnquill.exe", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModulePathInGbk(c.path, 260), c.gbk) << c.what;
}

TEST(WindowsModulePath, TheRunningExecutableIsNamed) {
    const std::optional<std::string> path = WindowsSystem().GetModuleFileName(4096);
    ASSERT_TRUE(path.has_value());
    EXPECT_TRUE(path->ends_with("\\windows_tests.exe")) << *path;
}

}  // namespace
