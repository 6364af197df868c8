// Start-up of the program against a bare Qt dialog with the same kinds of widgets, both started as
// processes on a virtual X server of the benchmark's own, taking turns: the time from the start to the
// first painted frame of the main window, the resident memory then, and what a long profile file adds.
//   startup_bench [ROUNDS]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "startup/FirstPaintWatcher.h"
#include "startup/ProgramFolder.h"
#include "startup/XvfbDisplay.h"

namespace {

constexpr int kLongProfileFile = 10000;
constexpr double kStartTarget = 1.2;
constexpr double kMemoryTarget = 1.3;
constexpr double kLongFileTargetMs = 10;

struct Samples {
    std::vector<double> milliseconds;
    std::vector<double> megabytes;
    std::set<std::string> titles;  // of the windows timed: more than one means a box came first sometimes
};

std::string Joined(const std::set<std::string>& titles) {
    std::string joined;
    for (const std::string& title : titles)
        joined += (joined.empty() ? "\"" : ", \"") + title + "\"";
    return joined;
}

std::vector<std::string> ChildEnvironment(const std::string& display, const std::filesystem::path& root) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable)
        variables.emplace_back(*variable);
    variables.push_back("DISPLAY=" + display);
    variables.emplace_back("QT_QPA_PLATFORM=xcb");
    variables.push_back("XDG_RUNTIME_DIR=" + root.string());
    variables.push_back("OSTRELLE_HIVE_PATH=" + (root / "hive.sqlite").string());
    variables.push_back("OSTRELLE_AUTOSTART_DIR=" + (root / "autostart").string());
    return variables;
}

pid_t Start(const std::filesystem::path& executable, std::vector<std::string> environment) {
    std::string path = executable.string();
    char* argv[] = {path.data(), nullptr};
    std::vector<char*> envp;
    envp.reserve(environment.size() + 1);
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    if (::posix_spawn(&child, path.c_str(), &actions, nullptr, argv, envp.data()) != 0)
        child = -1;
    ::posix_spawn_file_actions_destroy(&actions);
    return child;
}

// One start of one program until its first painted frame, then its end; false when it never painted.
bool Measure(bench::FirstPaintWatcher& watcher, const std::filesystem::path& executable,
             const std::vector<std::string>& environment, Samples& samples) {
    pid_t process = -1;
    const auto paint = watcher.TimeFirstPaint([&] { return Start(executable, environment); }, process,
                                              std::chrono::seconds(20));
    if (!paint)
        return false;
    ::kill(process, SIGKILL);
    int status = 0;
    ::waitpid(process, &status, 0);
    samples.milliseconds.push_back(paint->milliseconds);
    samples.megabytes.push_back(static_cast<double>(paint->residentKilobytes) / 1024.0);
    samples.titles.insert(paint->title);
    return true;
}

void PrintRows(const Samples& bare, const Samples& shortFile, const Samples& longFile) {
    const double bareMs = bench::Median(bare.milliseconds);
    const double programMs = bench::Median(shortFile.milliseconds);
    const double bareMb = bench::Median(bare.megabytes);
    const double programMb = bench::Median(shortFile.megabytes);
    const double longerMs = bench::Median(longFile.milliseconds) - programMs;
    std::printf(
        "start to first paint, 3-line profile file: program %.1f ms, bare dialog %.1f ms, "
        "ratio %.2f (target <= %.1f)\n",
        programMs, bareMs, programMs / bareMs, kStartTarget);
    std::printf(
        "resident memory after the first paint: program %.1f MB, bare dialog %.1f MB, "
        "ratio %.2f (target <= %.1f)\n",
        programMb, bareMb, programMb / bareMb, kMemoryTarget);
    std::printf(
        "start with a %d-line profile file minus with a 3-line one: %.1f ms - %.1f ms = %+.1f ms "
        "(target <= +%.0f ms)\n",
        kLongProfileFile, programMs + longerMs, programMs, longerMs, kLongFileTargetMs);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    bench::XvfbDisplay display;
    if (display.Name().empty()) {
        std::fprintf(stderr, "no virtual X server: is Xvfb installed?\n");
        return 1;
    }
    bench::FirstPaintWatcher watcher(display.Name());
    const bench::ProgramFolder shortFolder(OSTRELLE_PROGRAM, OSTRELLE_DHCPCSVC, 3);
    const bench::ProgramFolder longFolder(OSTRELLE_PROGRAM, OSTRELLE_DHCPCSVC, kLongProfileFile);
    if (!watcher.Usable()) {
        std::fprintf(stderr, "no connection to %s, or it lacks the DAMAGE extension\n",
                     display.Name().c_str());
        return 1;
    }
    if (shortFolder.Executable().empty() || longFolder.Executable().empty()) {
        std::fprintf(stderr, "no temporary folder for the program\n");
        return 1;
    }
    const auto shortEnvironment = ChildEnvironment(display.Name(), shortFolder.Root());
    const auto longEnvironment = ChildEnvironment(display.Name(), longFolder.Root());
    Samples bare;
    Samples shortFile;
    Samples longFile;
    Samples warmUp;
    // The first round of each only warms the page cache, and lets the program create its registry hive.
    bool painted = Measure(watcher, OSTRELLE_BARE_DIALOG, shortEnvironment, warmUp) &&
                   Measure(watcher, shortFolder.Executable(), shortEnvironment, warmUp) &&
                   Measure(watcher, longFolder.Executable(), longEnvironment, warmUp);
    for (int round = 0; painted && round < rounds; ++round) {
        painted = Measure(watcher, OSTRELLE_BARE_DIALOG, shortEnvironment, bare) &&
                  Measure(watcher, shortFolder.Executable(), shortEnvironment, shortFile) &&
                  Measure(watcher, longFolder.Executable(), longEnvironment, longFile);
    }
    if (!painted) {
        std::fprintf(stderr, "a program ended, or showed nothing within 20 s\n");
        return 1;
    }
    std::printf("%d rounds, medians, on %s; windows timed: program %s and %s, bare dialog %s\n", rounds,
                display.Name().c_str(), Joined(shortFile.titles).c_str(), Joined(longFile.titles).c_str(),
                Joined(bare.titles).c_str());
    PrintRows(bare, shortFile, longFile);
    return 0;
}
