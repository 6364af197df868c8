#include "platform/shell/linux/XdgOpenShell.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/text/Gbk.h"
#include "res/BuildSettings.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// A fake xdg-open first on PATH: it writes its arguments, one per line, and its pid, then exits with the
// status the test chose after the delay the test chose, or becomes a viewer that runs for 30 s ("hang").
class XdgOpenShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir / "bin");
        const auto file = [&](const char* name) { return "\"" + dir / name + "\""; };
        std::ofstream(dir / "bin/xdg-open")
            << "#!/bin/sh\n"
               "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > "
            << file("args") << "\necho $$ > " << file("pid") << "\ndelay=$(cat " << file("delay")
            << ")\n[ \"$delay\" = hang ] && exec sleep 30\nsleep \"$delay\"\nexit \"$(cat " << file("status")
            << ")\"\n";
        fs::permissions(dir / "bin/xdg-open", fs::perms::owner_all);
        SetStatus(0);
        SetDelay("0");
        oldPath = std::getenv("PATH");
        ::setenv("PATH", (dir / "bin" + ":" + oldPath).c_str(), 1);
    }
    void TearDown() override { ::setenv("PATH", oldPath.c_str(), 1); }
    void SetStatus(int status) const { std::ofstream(dir / "status") << status; }
    void SetDelay(const char* seconds) const { std::ofstream(dir / "delay") << seconds; }
    pid_t FakePid() const {
        pid_t pid = 0;
        std::ifstream(dir / "pid") >> pid;
        return pid;
    }
    std::string Arguments() const {
        std::ifstream in(dir / "args", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::intptr_t Open(std::string_view target) {
        return shell.ShellExecute(nullptr, "open", target, "", "", 5);
    }

    TempDir dir;
    std::string oldPath;
    platform_linux::XdgOpenShell shell;
};

TEST_F(XdgOpenShellTest, ExitStatusDecidesTheResult) {
    struct Case {
        int status;
        const char* delay;
        std::intptr_t expected;
    };
    const Case cases[] = {{0, "0", 42}, {1, "0", 5},   {2, "0", 2},   {3, "0", 31},
                          {4, "0", 5},  {2, "0.1", 2}, {3, "0.1", 31}};
    for (const Case& c : cases) {
        SetStatus(c.status);
        SetDelay(c.delay);
        const std::intptr_t result = Open("http://example.net/");
        EXPECT_EQ(result, c.expected) << c.status << " after " << c.delay << " s";
        EXPECT_EQ(result > 32, c.status == 0) << c.status;
    }
}

// xdg-open running the viewer itself only exits when the viewer is closed: the dialog must not wait.
TEST_F(XdgOpenShellTest, AViewerStillRunningCountsAsOpenedAndIsReapedWhenItEnds) {
    SetDelay("hang");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_GT(Open("http://example.net/"), 32);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    const pid_t viewer = FakePid();
    ASSERT_GT(viewer, 0);
    ASSERT_TRUE(fs::exists("/proc/" + std::to_string(viewer))) << "still running";
    ASSERT_EQ(::kill(viewer, SIGTERM), 0);
    // Reaped, its /proc entry goes; a child nobody waits for stays there as a zombie ("Z" in its stat).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (fs::exists("/proc/" + std::to_string(viewer)) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(fs::exists("/proc/" + std::to_string(viewer))) << "left as a zombie";
}

// Each target reaches xdg-open as one argument, untouched by any shell; GBK names arrive as UTF-8.
TEST_F(XdgOpenShellTest, TargetIsOneLiteralArgument) {
    const std::pair<std::string, std::string> cases[] = {
        {res::kMessengerLinkUrl, "http://ostrelle.example.net/msgrd?V=1&Uin=10000&Site=Ostrelle&Menu=yes\n"},
        {res::kMailLinkUrl, "mailto:ostrelle@example.net\n"},
        {text::Utf8ToGbk("使用说明.txt"), "使用说明.txt\n"},
        {"my file; $(touch pwned) `id` *.txt", "my file; $(touch pwned) `id` *.txt\n"},
        {"--help", "./--help\n"},
    };
    for (const auto& [target, received] : cases) {
        EXPECT_GT(Open(target), 32) << target;
        EXPECT_EQ(Arguments(), received);
    }
    EXPECT_FALSE(fs::exists("pwned"));
}

TEST_F(XdgOpenShellTest, FailsWithoutRunningWhatCannotBeOpened) {
    EXPECT_LE(shell.ShellExecute(nullptr, "print", "a.txt", "", "", 5), 32);
    EXPECT_LE(Open(""), 32);
    EXPECT_FALSE(fs::exists(dir / "args"));
    ::setenv("PATH", (dir / "empty").c_str(), 1);
    EXPECT_LE(Open("http://example.net/"), 32) << "no xdg-open at all";
}

}  // namespace
