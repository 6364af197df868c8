#include "platform/shell/linux/XdgOpenShell.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/text/Gbk.h"
#include "res/BuildSettings.h"

namespace {

namespace fs = std::filesystem;

// A fake xdg-open first on PATH: it writes its arguments, one per line, and exits with the status the test
// chose.
class XdgOpenShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("ostrelle-xdg-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "bin");
        std::ofstream(dir / "bin" / "xdg-open")
            << "#!/bin/sh\n"
               "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \""
            << (dir / "args").string() << "\"\nexit \"$(cat \"" << (dir / "status").string() << "\")\"\n";
        fs::permissions(dir / "bin" / "xdg-open", fs::perms::owner_all);
        SetStatus(0);
        oldPath = std::getenv("PATH");
        ::setenv("PATH", ((dir / "bin").string() + ":" + oldPath).c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", oldPath.c_str(), 1);
        fs::remove_all(dir);
    }
    void SetStatus(int status) const { std::ofstream(dir / "status") << status; }
    std::string Arguments() const {
        std::ifstream in(dir / "args", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::intptr_t Open(std::string_view target) {
        return shell.ShellExecute(nullptr, "open", target, "", "", 5);
    }

    fs::path dir;
    std::string oldPath;
    platform_linux::XdgOpenShell shell;
};

TEST_F(XdgOpenShellTest, ExitStatusDecidesTheResult) {
    const std::pair<int, std::intptr_t> cases[] = {{0, 42}, {1, 5}, {2, 2}, {3, 31}, {4, 5}};
    for (const auto& [status, expected] : cases) {
        SetStatus(status);
        const std::intptr_t result = Open("http://example.net/");
        EXPECT_EQ(result, expected) << status;
        EXPECT_EQ(result > 32, status == 0) << status;
    }
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
    ::setenv("PATH", (dir / "empty").string().c_str(), 1);
    EXPECT_LE(Open("http://example.net/"), 32) << "no xdg-open at all";
}

}  // namespace
