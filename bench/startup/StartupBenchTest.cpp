// The start-up benchmark's own parts: the long profile file it feeds the program, and the watcher that
// times a first painted frame from outside the process.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "profiles/ProfileFile.h"
#include "profiles/ProfileLine.h"
#include "startup/FirstPaintWatcher.h"
#include "startup/ProgramFolder.h"
#include "startup/XvfbDisplay.h"

namespace {

TEST(StartupProfileFile, EveryLineIsOneTheProgramKeepsAsItIs) {
    for (int count : {1, 3, 10000}) {
        const std::string text = bench::ProfileFileText(count);
        const auto lines = profiles::SplitFileLines(text);
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(count));
        EXPECT_EQ(profiles::JoinFileLines(lines), text) << "CR LF after every line";
        for (const std::string& line : lines) {
            const profiles::IpProfile profile = profiles::SplitProfileLine(line);
            ASSERT_EQ(profiles::ComposeProfileLine(profile), line);
            ASSERT_TRUE(profiles::IsStorableName(profile.name)) << line;
            ASSERT_TRUE(profiles::IsProfileIcon(profiles::IconNumber(profile.iconNumberText))) << line;
            ASSERT_FALSE(profile.settings.ipAddress.empty()) << line;
        }
        EXPECT_EQ(lines.back().rfind("\xC5\xE4\xD6\xC3" + std::to_string(count - 1) + "|", 0), 0U)
            << "names are GBK and numbered";
    }
}

pid_t Spawn(std::vector<std::string> arguments, const std::string& display) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string displayVariable = "DISPLAY=" + display;
    std::string platformVariable = "QT_QPA_PLATFORM=xcb";
    char* envp[] = {displayVariable.data(), platformVariable.data(), nullptr};
    pid_t child = -1;
    return ::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), envp) == 0 ? child : -1;
}

void End(pid_t process) {
    ::kill(process, SIGKILL);
    int status = 0;
    ::waitpid(process, &status, 0);
}

TEST(FirstPaintWatcher, TimesTheFirstFrameOfAWindowAndNothingElse) {
    bench::XvfbDisplay display;
    if (display.Name().empty())
        GTEST_SKIP() << "no Xvfb to start";
    bench::FirstPaintWatcher watcher(display.Name());
    ASSERT_TRUE(watcher.Usable());
    const struct {
        std::vector<std::string> command;
        bool paints;
    } cases[] = {
        {{OSTRELLE_BARE_DIALOG}, true},
        {{"true"}, false},               // ends without a window
        {{"sleep", "30"}, false},        // never shows one
        {{OSTRELLE_BARE_DIALOG}, true},  // and the watcher is ready for the next start
    };
    for (const auto& c : cases) {
        pid_t process = -1;
        const auto paint = watcher.TimeFirstPaint([&] { return Spawn(c.command, display.Name()); }, process,
                                                  std::chrono::seconds(c.paints ? 20 : 1));
        ASSERT_GT(process, 0) << c.command[0];
        EXPECT_EQ(paint.has_value(), c.paints) << c.command[0];
        if (paint) {
            EXPECT_GT(paint->milliseconds, 1.0);
            EXPECT_EQ(paint->title, "Bare dialog");
            EXPECT_GT(paint->residentKilobytes, 4096) << "a Qt program's resident memory";
        }
        End(process);
    }
}

}  // namespace
