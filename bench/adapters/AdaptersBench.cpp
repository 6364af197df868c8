// Switching and discovery against the kernel, in a network namespace of its own (needs root):
//   1. ApplyAdapterSettings (registry write, libdhcpcsvc.so loaded, rtnetlink change) against the iproute2
//      pair "ip addr replace" + "ip route replace" moving the link between the same two configurations,
//      both measured in this run; then the same with a DNS server that changes each round, against the
//      pair plus the shell rewriting resolv.conf ("printf ... > tmp && mv tmp resolv.conf"), once with
//      resolv.conf on a tmpfs (where most desktops keep it, under /run) and once on this machine's disk;
//   2. EnumerateAdapters over 200 veth links: the time per adapter, median of several walks.
// Prints the measurements and the ratio; it asserts nothing.
#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "adapters/AdapterDiscovery.h"
#include "adapters/AdapterSettings.h"
#include "adapters/DhcpNotify.h"
#include "platform/dhcp/linux/LinuxDynamicLibraries.h"
#include "platform/registry/linux/LinuxRegistry.h"

namespace {

using bench::Clock;
using bench::Mean;
using bench::Median;
using bench::Microseconds;
using bench::Run;
using bench::SilentHost;

int Ip(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "ip");
    return Run(std::move(arguments));
}

bool EnterNamespace(const std::string& folder) {
    if (::unshare(CLONE_NEWNET | CLONE_NEWNS) != 0)
        return false;
    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    std::filesystem::create_directories(folder + "/sys");
    if (::mount("sysfs", (folder + "/sys").c_str(), "sysfs", 0, nullptr) != 0)
        return false;
    ::setenv("OSTRELLE_SYSFS_ROOT", (folder + "/sys").c_str(), 1);
    ::setenv("OSTRELLE_UDEV_ROOT", (folder + "/udev").c_str(), 1);
    ::setenv("OSTRELLE_HIVE_PATH", (folder + "/hive.sqlite").c_str(), 1);
    // resolv.conf on a tmpfs, as under /run, and on the disk, as a plain /etc holds it.
    std::filesystem::create_directories(folder + "/run");
    std::filesystem::create_directories(folder + "/etc");
    if (::mount("tmpfs", (folder + "/run").c_str(), "tmpfs", 0, nullptr) != 0)
        return false;
    ::setenv("OSTRELLE_RESOLV_CONF", (folder + "/etc/resolv.conf").c_str(), 1);
    return true;
}

const char* const kAddress[] = {"10.2.0.9", "10.3.0.9"};
const char* const kGateway[] = {"10.2.0.1", "10.3.0.1"};
const char* const kDns[] = {"10.2.0.53", "10.3.0.53"};

int failedRounds = 0;  // a round that did not make its change; any makes the run's numbers worthless

struct OursTimes {
    double total = 0;
    double write = 0;
};

// One switch of va0 to configuration `to` (10.2.0.9/24 via 10.2.0.1, or 10.3.0.9/24 via 10.3.0.1), with
// its DNS server when withDns.
OursTimes TimeOurs(const adapters::AdapterServices& services, int to, bool withDns) {
    const adapters::Ipv4Settings settings{kAddress[to], "255.255.255.0", kGateway[to],
                                          withDns ? kDns[to] : "", ""};
    const Clock::time_point start = Clock::now();
    bool done = adapters::WriteAdapterSettings(services, "va0", settings);
    const Clock::time_point written = Clock::now();
    done = done && adapters::NotifyDhcpClient(services, "va0", 0, kAddress[to], "255.255.255.0");
    const OursTimes times{Microseconds(Clock::now() - start), Microseconds(written - start)};
    failedRounds += done ? 0 : 1;
    return times;
}

// The shell's way to replace resolv.conf with a file naming the server.
int ShellResolvConf(const char* server) {
    const std::string script = std::string("printf 'nameserver %s\\n' ") + server +
                               " > \"$OSTRELLE_RESOLV_CONF.tmp\"" +
                               " && mv \"$OSTRELLE_RESOLV_CONF.tmp\" \"$OSTRELLE_RESOLV_CONF\"";
    return Run({"sh", "-c", script});
}

// "ip addr replace" adds the new address beside the old one; the old one is removed outside the measured
// time, which favours iproute2.
double TimeIproute2(int to, bool withDns) {
    const Clock::time_point start = Clock::now();
    const bool done = Ip({"addr", "replace", std::string(kAddress[to]) + "/24", "dev", "va0"}) == 0 &&
                      Ip({"route", "replace", "default", "via", kGateway[to], "dev", "va0"}) == 0 &&
                      (!withDns || ShellResolvConf(kDns[to]) == 0);
    const double elapsed = Microseconds(Clock::now() - start);
    failedRounds +=
        done && Ip({"addr", "del", std::string(kAddress[1 - to]) + "/24", "dev", "va0"}) == 0 ? 0 : 1;
    return elapsed;
}

void PrintRatio(const char* label, const std::vector<double>& ours, const std::vector<double>& reference,
                bool withDns) {
    std::printf(
        "%s: ApplyAdapterSettings %.1f us, ip addr replace + ip route replace%s %.1f us, ratio %.3f "
        "(medians %.1f / %.1f us, ratio %.3f)\n",
        label, Mean(ours), withDns ? " + resolv.conf by sh" : "", Mean(reference),
        Mean(ours) / Mean(reference), Median(ours), Median(reference), Median(ours) / Median(reference));
}

bool ResolvConfNames(const char* server) {
    std::ifstream in(std::getenv("OSTRELLE_RESOLV_CONF"));
    std::string line;
    return std::getline(in, line) && line == std::string("nameserver ") + server;
}

// Every round moves va0 to the other configuration, so that both sides really change the address and the
// default route (and the DNS server) each time. The target (ours at most 0.05 of the other side) is
// measured in blocks of 20 rounds, the two sides taking turns block by block: each side runs warm within
// its block, and both meet the same moments of a busy machine.
void MeasureBlocks(const adapters::AdapterServices& services, int rounds, bool withDns, const char* label) {
    constexpr int kBlock = 20;
    std::vector<double> ours;
    std::vector<double> write;
    std::vector<double> reference;
    for (int block = 0; block < rounds; block += kBlock) {
        for (int i = 0; i < kBlock; ++i) {
            const OursTimes times = TimeOurs(services, i % 2, withDns);
            failedRounds += !withDns || ResolvConfNames(kDns[i % 2]) ? 0 : 1;
            ours.push_back(times.total);
            write.push_back(times.write);
        }
        for (int i = 0; i < kBlock; ++i) {
            reference.push_back(TimeIproute2(i % 2, withDns));
            failedRounds += !withDns || ResolvConfNames(kDns[i % 2]) ? 0 : 1;
        }
    }
    PrintRatio(label, ours, reference, withDns);
    std::printf(
        "        of which the registry write %.1f us, the notification %.1f us (target: ratio at most "
        "0.05)\n",
        Mean(write), Mean(ours) - Mean(write));
}

// Taking turns round by round is printed too: there each of our switches runs right after three ip
// processes have exited and the kernel has cleaned up the address removed, on caches they left cold,
// which costs it a good part more.
void MeasureSwitch(const adapters::AdapterServices& services, int rounds, const std::string& folder) {
    // The program's start-up reads the adapter's settings, which opens the pending settings' store. The
    // first switch then loads our libdhcpcsvc.so and opens its own connection to it; later ones find both.
    adapters::Ipv4Settings startup;
    adapters::ReadAdapterSettings(services.registry, startup, "va0");
    const double first = TimeOurs(services, 1, false).total;
    std::printf("first switch: ApplyAdapterSettings %.1f us\n", first);
    MeasureBlocks(services, rounds, false, "switch");

    std::vector<double> oursTurns;
    std::vector<double> iproute2Turns;
    for (int i = 0; i < rounds; ++i) {
        oursTurns.push_back(TimeOurs(services, 0, false).total);
        iproute2Turns.push_back(TimeIproute2(1, false));
    }
    PrintRatio("taking turns round by round", oursTurns, iproute2Turns, false);

    const std::string onTmpfs = folder + "/run/resolv.conf";
    const std::string onDisk = folder + "/etc/resolv.conf";
    ::setenv("OSTRELLE_RESOLV_CONF", onTmpfs.c_str(), 1);
    MeasureBlocks(services, rounds, true, "switch with DNS, resolv.conf on tmpfs");
    ::setenv("OSTRELLE_RESOLV_CONF", onDisk.c_str(), 1);
    MeasureBlocks(services, rounds, true, "switch with DNS, resolv.conf on disk");
    std::printf("        %d of the %d rounds failed\n", failedRounds, 8 * rounds + 1);
}

// Each walk lists the links afresh and reads every adapter's settings, as the program's start and its
// refresh do; the median of several walks keeps a busy moment out of the figure.
void MeasureDiscovery(win::Registry& registry) {
    constexpr int kWalks = 15;
    std::vector<double> walks;
    std::vector<double> cpu;
    std::size_t adapters = 0;
    for (int walk = 0; walk < kWalks; ++walk) {
        adapters::AdapterList list;
        const double cpuStart = bench::ThreadCpuMicroseconds();
        const Clock::time_point start = Clock::now();
        adapters::EnumerateAdapters(registry, list);
        walks.push_back(Microseconds(Clock::now() - start));
        cpu.push_back(bench::ThreadCpuMicroseconds() - cpuStart);
        adapters = list.size();
    }
    const double count = adapters == 0 ? 1.0 : static_cast<double>(adapters);
    const double perAdapter = Median(walks) / count;
    std::printf(
        "discovery: %zu adapters in %.0f us (median of %d walks), %.1f us per adapter, ratio to the "
        "target %.2f (target: at most 50 us per adapter); CPU time %.1f us per adapter\n",
        adapters, Median(walks), kWalks, perAdapter, perAdapter / 50.0, Median(cpu) / count);
}

}  // namespace

int main(int argc, char** argv) {
    // Whole blocks of 20 rounds, at least one.
    const int rounds = std::max(20, (argc > 1 ? std::atoi(argv[1]) : 200) + 19) / 20 * 20;
    const std::string folder =
        std::filesystem::temp_directory_path() / ("ostrelle-bench-" + std::to_string(::getpid()));
    if (::geteuid() != 0 || !EnterNamespace(folder)) {
        std::printf("skipped: needs root and network namespaces\n");
        return 0;
    }
    Ip({"link", "add", "va0", "type", "veth", "peer", "name", "vb0"});
    Ip({"link", "set", "va0", "up"});
    Ip({"link", "set", "vb0", "up"});

    auto registry = platform_linux::MakeLinuxRegistry();
    SilentHost host;
    platform_linux::LinuxDynamicLibraries libraries(OSTRELLE_DHCPCSVC_DIR);
    const adapters::AdapterServices services{*registry, host, libraries};

    MeasureSwitch(services, rounds, folder);
    std::printf("        %d failure messages\n", host.messages);

    constexpr int kLinks = 200;
    for (int i = 1; i < kLinks / 2; ++i) {
        Ip({"link", "add", "va" + std::to_string(i), "type", "veth", "peer", "name",
            "vb" + std::to_string(i)});
    }
    MeasureDiscovery(*registry);

    ::umount2((folder + "/sys").c_str(), MNT_DETACH);
    ::umount2((folder + "/run").c_str(), MNT_DETACH);
    std::filesystem::remove_all(folder);
    return 0;
}
