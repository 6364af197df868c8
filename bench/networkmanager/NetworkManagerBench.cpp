// A switch through NetworkManager against what a user would type instead, in a network namespace of its
// own with a NetworkManager of its own on a private bus (needs root and the daemons unpacked by
// scripts/lib/fetch-test-daemons.sh): ApplyAdapterSettings' two steps (registry write, libdhcpcsvc.so's
// Update2 + Reapply, ending once the kernel holds the address) against "nmcli connection modify" +
// "nmcli device reapply", both moving the link between the same two configurations in this run.
// Prints the measurements and the ratio; it asserts nothing.
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "adapters/AdapterSettings.h"
#include "adapters/DhcpNotify.h"
#include "platform/dhcp/linux/LinuxDynamicLibraries.h"
#include "platform/networkmanager/linux/NmLink.h"
#include "platform/registry/linux/LinuxRegistry.h"

namespace {

using bench::Clock;
using bench::Mean;
using bench::Median;
using bench::Microseconds;
using bench::Run;

const char* const kAddress[] = {"10.2.0.9", "10.3.0.9"};
const char* const kGateway[] = {"10.2.0.1", "10.3.0.1"};
const char* const kDns[] = {"10.2.0.53", "10.3.0.53"};

constexpr const char* kConnection = R"([connection]
id=wired
uuid=6e2b6c1a-8a0e-4b8c-9f0e-0123456789ab
type=ethernet
interface-name=va0

[ipv4]
method=manual
address1=10.1.0.5/24,10.1.0.1

[ipv6]
method=ignore
)";

int failedRounds = 0;  // a round that did not make its change; any makes the run's numbers worthless

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
    ::setenv("OSTRELLE_RESOLV_CONF", (folder + "/resolv.conf").c_str(), 1);
    return true;
}

// The holder of the bus and the daemon lives as long as its standard input, our end of the pipe, is open.
FILE* StartNetworkManager(const std::string& state) {
    std::filesystem::create_directories(state + "/connections");
    const std::string file = state + "/connections/wired.nmconnection";
    std::ofstream(file) << kConnection;
    std::filesystem::permissions(file,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const std::string command =
        "exec bash -c 'source \"$0\" && private_nm_hold \"$1\" \"$2\" vb0' " OSTRELLE_PRIVATE_NM_SH
        " /proc/" +
        std::to_string(::getpid()) + "/ns/net " + state + " >" + state + ".out 2>&1";
    return ::popen(command.c_str(), "w");
}

// Waits for the bus's address in the holder's output, then for the daemon to have va0 activated.
bool WaitForNetworkManager(const std::string& state) {
    const std::string line = "DBUS_SYSTEM_BUS_ADDRESS=";
    for (int i = 0; i < 1500; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        std::ifstream output(state + ".out");
        const std::string text((std::istreambuf_iterator<char>(output)), std::istreambuf_iterator<char>());
        const std::size_t at = text.find(line);
        if (at == std::string::npos || text.find('\n', at) == std::string::npos)
            continue;
        const std::size_t start = at + line.size();
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", text.substr(start, text.find('\n', start) - start).c_str(), 1);
        break;
    }
    for (int i = 0; i < 300; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
        if (networkmanager::NmLink::Find("va0"))
            return true;
    }
    return false;
}

// nmcli as unpacked, with the libraries beside it.
std::string Nmcli() {
    const std::filesystem::path root = std::filesystem::path(OSTRELLE_SOURCE_DIR) / "build/test-daemons/root";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root / "usr/lib")) {
        if (entry.path().filename() == "libnm.so.0") {
            ::setenv("LD_LIBRARY_PATH", entry.path().parent_path().c_str(), 1);
            break;
        }
    }
    return (root / "usr/bin/nmcli").string();
}

double TimeOurs(const adapters::AdapterServices& services, int to) {
    const adapters::Ipv4Settings settings{kAddress[to], "255.255.255.0", kGateway[to], kDns[to], ""};
    const Clock::time_point start = Clock::now();
    const bool done = adapters::WriteAdapterSettings(services, "va0", settings) &&
                      adapters::NotifyDhcpClient(services, "va0", 0, kAddress[to], "255.255.255.0");
    const double elapsed = Microseconds(Clock::now() - start);
    failedRounds += done ? 0 : 1;
    return elapsed;
}

double TimeNmcli(const std::string& nmcli, int to) {
    const Clock::time_point start = Clock::now();
    const bool done =
        Run({nmcli, "connection", "modify", "wired", "ipv4.addresses", std::string(kAddress[to]) + "/24",
             "ipv4.gateway", kGateway[to], "ipv4.dns", kDns[to]},
            true) == 0 &&
        Run({nmcli, "device", "reapply", "va0"}, true) == 0;
    const double elapsed = Microseconds(Clock::now() - start);
    failedRounds += done ? 0 : 1;
    return elapsed;
}

// The two sides take turns in blocks of 10 rounds, so that both meet the same moments of a busy machine;
// every round moves the link to the other configuration.
void Measure(const adapters::AdapterServices& services, const std::string& nmcli, int rounds) {
    constexpr int kBlock = 10;
    std::vector<double> ours;
    std::vector<double> reference;
    for (int block = 0; block < rounds; block += kBlock) {
        for (int i = 0; i < kBlock; ++i)
            ours.push_back(TimeOurs(services, i % 2));
        for (int i = 0; i < kBlock; ++i)
            reference.push_back(TimeNmcli(nmcli, i % 2));
    }
    std::printf(
        "switch through NetworkManager: ApplyAdapterSettings %.0f us, nmcli connection modify + nmcli "
        "device reapply %.0f us, ratio %.3f (medians %.0f / %.0f us, ratio %.3f; target at most 0.5)\n",
        Mean(ours), Mean(reference), Mean(ours) / Mean(reference), Median(ours), Median(reference),
        Median(ours) / Median(reference));
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = std::max(10, (argc > 1 ? std::atoi(argv[1]) : 40) + 9) / 10 * 10;
    const std::string folder = "/tmp/ostrelle-nm-bench-" + std::to_string(::getpid());
    if (::geteuid() != 0 || !EnterNamespace(folder)) {
        std::printf("skipped: needs root and network namespaces\n");
        return 0;
    }
    Run({"ip", "link", "set", "lo", "up"});
    Run({"ip", "link", "add", "va0", "type", "veth", "peer", "name", "vb0"});
    Run({"ip", "link", "set", "vb0", "up"});
    const std::string state = folder + "/nm";
    FILE* holder = StartNetworkManager(state);
    if (holder == nullptr || !WaitForNetworkManager(state)) {
        std::printf(
            "skipped: NetworkManager did not start or activate va0 (scripts/lib/fetch-test-daemons.sh)\n");
    } else {
        auto registry = platform_linux::MakeLinuxRegistry();
        bench::SilentHost host;
        platform_linux::LinuxDynamicLibraries libraries(OSTRELLE_DHCPCSVC_DIR);
        const adapters::AdapterServices services{*registry, host, libraries};
        Measure(services, Nmcli(), rounds);
        std::printf("        %d failed rounds, %d failure messages\n", failedRounds, host.messages);
    }
    if (holder != nullptr)
        ::pclose(holder);
    ::umount2((folder + "/sys").c_str(), MNT_DETACH);
    std::filesystem::remove_all(folder);
    return 0;
}
