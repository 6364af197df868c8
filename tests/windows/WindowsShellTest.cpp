#include "platform/shell/windows/WindowsShell.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/TempDir.h"

namespace {

// The shell's results the program tells apart: above 32 success, 2 no such file, 31 nothing to open
// that kind of file with.
TEST(WindowsShell, ResultsAreTheShellsOwn) {
    TempDir dir;
    // Joined as bytes: std::filesystem would read them in the system's ANSI code page.
    const std::string chineseName = dir.path.string() + "\\\xCB\xB5\xC3\xF7.ostrelle-unknown";  // 说明
    std::ofstream(dir.path / L"\u8BF4\u660E.ostrelle-unknown") << "x";
    platform_windows::WindowsShell shell;
    const struct {
        const char* what;
        std::string file;
        std::string parameters;
        bool success;
        std::intptr_t failure;
    } cases[] = {
        {"a program started", "cmd.exe", "/c exit 0", true, 0},
        {"a file that does not exist", dir / "missing.txt", "", false, 2},
        {"a GBK name found, but of no known kind", chineseName, "", false, 31},
    };
    for (const auto& c : cases) {
        const std::intptr_t result =
            shell.ShellExecute(nullptr, "open", c.file, c.parameters, "", win::SW_SHOW);
        if (c.success)
            EXPECT_GT(result, 32) << c.what;
        else
            EXPECT_EQ(result, c.failure) << c.what;
    }
}

}  // namespace
