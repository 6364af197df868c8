// Times what a large profile file costs the program: its start with 10,000 profile lines against the
// same start with 3, both on the real Qt dialog (offscreen unless told otherwise) and the real file
// system, and the save of 10,000 lines as the close writes them.
//
//   profiles_bench [rounds]
//
// The start is timed from the application's start until the dialog, shown and running its modal loop,
// has been drawn whole once (its list included); the two sizes take turns so a busy machine costs both
// alike. The dialog's thread's CPU time is printed beside the elapsed time: on a shared machine it is
// the steadier of the two. The files live in a fresh folder under $TMPDIR (else /var/tmp, a disk
// folder like the program's own).

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/CorvaneApp.h"
#include "app/Globals.h"
#include "fakes/FakeServices.h"
#include "platform/qt/QtWindowHost.h"
#include "platform/text/Gbk.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileLine.h"

namespace {

constexpr std::size_t kLargeFile = 10000;
constexpr std::size_t kSmallFile = 3;
constexpr double kStartTargetMs = 10.0;
constexpr double kSaveTargetMs = 20.0;

// Names of the lengths people give them, Chinese and Latin; adapters as discovery names them.
const char* const kNames[] = {
    "办公室",           "家",  "会议室三楼东侧", "Lab", "实验室 DHCP", "客户现场-上海浦东新区",
    "VPN gateway test", "仓库"};
const char* const kAdapters[] = {"Intel(R) Ethernet Connection I219-LM", "Realtek PCIe GbE Family Controller",
                                 "Example PCI Fast Ethernet Adapter", "enp3s0"};

std::vector<std::string> GenerateProfileLines(std::size_t count) {
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        profiles::IpProfile p;
        p.name = text::Utf8ToGbk(kNames[i % std::size(kNames)]) + std::to_string(i);
        p.iconNumberText = std::to_string(i % profiles::kIconCount);
        p.adapter = kAdapters[i % std::size(kAdapters)];
        const std::string net = "10." + std::to_string(i / 250 % 250) + "." + std::to_string(i % 250) + ".";
        p.settings.ipAddress = net + "20";
        p.settings.subnetMask = "255.255.255.0";
        p.settings.defaultGateway = i % 3 == 0 ? std::string() : net + "1";
        p.settings.preferredDns = "198.51.100.53";
        p.settings.alternateDns = i % 2 == 0 ? std::string() : "198.51.100.54";
        lines.push_back(profiles::ComposeProfileLine(p));
    }
    return lines;
}

std::filesystem::path MakeFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr ? tmp : "/var/tmp") + "/profiles-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern;
}

struct Times {
    double elapsedMs;
    double cpuMs;  // of this thread, where the dialog runs
};

double ThreadCpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// One start of the program on a profile file of these bytes, ended by Esc once it is drawn.
Times TimeStart(const std::filesystem::path& folder, const std::string& fileBytes) {
    fakes::FakeServices services;
    services.system.modulePath = (folder / "tarnquill.bin").string();
    services.files.ReplaceContents((folder / "tarnquill").string(), fileBytes);
    app::profileLines.clear();
    qtwin::QtWindowHost host;
    app::Platform platform = services.PlatformWith(host);
    bench::Clock::time_point drawn{};
    double drawnCpuMs = 0;
    QTimer::singleShot(0, [&drawn, &drawnCpuMs] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr) {
            std::fprintf(stderr, "the dialog did not open\n");
            std::exit(1);
        }
        dialog->grab();  // draws every control now, as the first paint would
        drawn = bench::Clock::now();
        drawnCpuMs = ThreadCpuMs();
        if (auto* modal = qobject_cast<QDialog*>(dialog))
            modal->reject();  // as Esc ends it: the close's save is timed on its own below
    });
    const double startCpuMs = ThreadCpuMs();
    const auto start = bench::Clock::now();
    app::CCorvaneApp(platform).InitInstance();
    if (app::profileLines.empty()) {
        std::fprintf(stderr, "the profile file was not loaded\n");
        std::exit(1);
    }
    return {bench::Microseconds(drawn - start) / 1000.0, drawnCpuMs - startCpuMs};
}

void PrintStarts(const char* what, const std::vector<double>& large, const std::vector<double>& small) {
    std::vector<double> differences;
    for (std::size_t i = 0; i < large.size(); ++i)
        differences.push_back(large[i] - small[i]);
    std::printf(
        "start, %s: %zu lines %.2f ms, %zu lines %.2f ms, difference median %.2f ms, mean %.2f ms "
        "(target at most %.0f ms)\n",
        what, kLargeFile, bench::Median(large), kSmallFile, bench::Median(small), bench::Median(differences),
        bench::Mean(differences), kStartTargetMs);
}

void BenchStart(const std::filesystem::path& folder, int rounds) {
    const std::string large = profiles::JoinFileLines(GenerateProfileLines(kLargeFile));
    const std::string small = profiles::JoinFileLines(GenerateProfileLines(kSmallFile));
    TimeStart(folder, small);  // the first dialog loads fonts and styles for every later one
    TimeStart(folder, large);
    std::vector<double> largeElapsed;
    std::vector<double> smallElapsed;
    std::vector<double> largeCpu;
    std::vector<double> smallCpu;
    for (int i = 0; i < rounds; ++i) {
        const Times s = TimeStart(folder, small);
        const Times l = TimeStart(folder, large);
        smallElapsed.push_back(s.elapsedMs);
        smallCpu.push_back(s.cpuMs);
        largeElapsed.push_back(l.elapsedMs);
        largeCpu.push_back(l.cpuMs);
    }
    std::printf("profile file of %zu lines: %zu bytes; medians of %d rounds\n", kLargeFile, large.size(),
                rounds);
    PrintStarts("elapsed", largeElapsed, smallElapsed);
    PrintStarts("CPU", largeCpu, smallCpu);
}

void BenchSave(const std::filesystem::path& folder, int rounds) {
    const std::vector<std::string> lines = GenerateProfileLines(kLargeFile);
    fakes::FakeServices services;
    const std::string path = (folder / "tarnquill").string();
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const auto start = bench::Clock::now();
        if (!profiles::SaveProfileFile(services.files, path, lines)) {
            std::fprintf(stderr, "the save failed\n");
            std::exit(1);
        }
        ms.push_back(bench::Microseconds(bench::Clock::now() - start) / 1000.0);
    }
    std::printf("save, %zu lines: median %.2f ms, mean %.2f ms (target at most %.0f ms)\n", kLargeFile,
                bench::Median(ms), bench::Mean(ms), kSaveTargetMs);
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    QApplication application(argc, argv);
    const std::filesystem::path folder = MakeFolder();
    BenchStart(folder, rounds);
    BenchSave(folder, rounds);
    std::filesystem::remove_all(folder);
    return 0;
}
