// The two live views the adapter store reads through: the adapter class key over a link table and a sysfs
// tree, and the TCP/IP interface keys over an interface state, with the program's own discovery and
// settings code on top, as in the shipped program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "adapters/AdapterDiscovery.h"
#include "adapters/AdapterSettings.h"
#include "fakes/FakeDynamicLibraries.h"
#include "fakes/FakeWindowHost.h"
#include "platform/registry/RegistrySchema.h"
#include "platform/registry/linux/AdapterClassProvider.h"
#include "platform/registry/linux/LinuxRegistry.h"
#include "platform/registry/linux/PendingTcpipSettings.h"
#include "platform/registry/linux/TcpipInterfacesProvider.h"
#include "support/TempDir.h"

namespace {

using namespace platform_linux;
using winreg::kAdapterClassKeyPath;
using winreg::kTcpipInterfacesKeyPath;
using winreg::RegistryValue;
namespace fs = std::filesystem;

// A link as the kernel's link table gives it, and as sysfs and the udev database show it.
struct FakeLink {
    std::string name;
    int ifIndex = 0;
    int type = 1;  // ARPHRD_ETHER
    std::string kind{};
    int master = 0;
    bool wireless = false;
    std::string driver{};  // a device behind the link, bound to this driver
    std::string udevModel{};
};

void MakeSysfs(const TempDir& dir, const std::vector<FakeLink>& links) {
    for (const FakeLink& link : links) {
        const std::string base = "sys/class/net/" + link.name + "/";
        fs::create_directories(dir.path / base);
        if (link.wireless)
            fs::create_directories(dir.path / (base + "wireless"));
        if (!link.driver.empty()) {
            fs::create_directories(dir.path / ("sys/bus/pci/drivers/" + link.driver));
            fs::create_directories(dir.path / (base + "device"));
            fs::create_symlink(dir.path / ("sys/bus/pci/drivers/" + link.driver),
                               dir.path / (base + "device/driver"));
        }
        if (!link.udevModel.empty()) {
            dir.Write(
                "udev/data/n" + std::to_string(link.ifIndex),
                "I:123\nE:ID_MODEL=raw model\nE:ID_MODEL_FROM_DATABASE=" + link.udevModel + "\nG:systemd\n");
        }
    }
}

// The kernel's link table as a table the test edits.
class TableLinks : public LinkSource {
  public:
    explicit TableLinks(const std::vector<netlink::Link>& links) : links_(links) {}
    std::vector<netlink::Link> Links() override { return links_; }
    int IndexOf(const std::string& name) override {
        const auto found = std::find_if(links_.begin(), links_.end(),
                                        [&](const netlink::Link& link) { return link.name == name; });
        return found == links_.end() ? 0 : found->ifIndex;
    }

  private:
    const std::vector<netlink::Link>& links_;
};

class FakeState : public InterfaceState {
  public:
    struct Link {
        std::vector<std::string> addresses, masks, gateways;
    };
    bool Exists(const std::string& name) override { return links.contains(name); }
    std::vector<std::string> Names() override {
        std::vector<std::string> names;
        for (const auto& [name, link] : links)
            names.push_back(name);
        return names;
    }
    bool Ipv4(const std::string& name, std::vector<std::string>& addresses, std::vector<std::string>& masks,
              std::vector<std::string>& gateways) override {
        const auto found = links.find(name);
        if (found == links.end())
            return false;
        addresses = found->second.addresses;
        masks = found->second.masks;
        gateways = found->second.gateways;
        return true;
    }
    std::vector<std::string> NameServers(const std::string&) override { return servers; }
    std::map<std::string, Link> links;
    std::vector<std::string> servers;
};

class AdapterViewsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto provider = std::make_unique<FakeState>();
        state = provider.get();
        registry.Mount(kAdapterClassKeyPath,
                       std::make_unique<AdapterClassProvider>(std::make_unique<TableLinks>(links),
                                                              dir / "sys", dir / "udev"));
        registry.Mount(kTcpipInterfacesKeyPath,
                       std::make_unique<TcpipInterfacesProvider>(std::move(provider), dir / "hive.sqlite"));
    }
    void AddLinks(const std::vector<FakeLink>& added) {
        MakeSysfs(dir, added);
        for (const FakeLink& link : added)
            links.push_back({link.name, link.ifIndex, link.type, link.kind, link.master});
    }
    adapters::AdapterList Discover() {
        adapters::AdapterList list;
        EXPECT_TRUE(adapters::EnumerateAdapters(registry, list));
        return list;
    }

    TempDir dir;
    std::vector<netlink::Link> links;
    winreg::RegistryRouter registry{std::make_unique<HiveProvider>(dir / "hive.sqlite")};
    FakeState* state = nullptr;
    fakes::FakeWindowHost host;
    fakes::FakeDynamicLibraries libraries;
    adapters::AdapterServices services{registry, host, libraries};
};

TEST_F(AdapterViewsTest, OnlyLinksThatTakeAnAddressAreListedInIndexOrder) {
    AddLinks({
        {"mv0", 14, 1, "macvlan"},
        {"lo", 1, 772},
        {"zeth", 2, 1, "", 0, false, "e1000e", "82574L Gigabit Network Connection"},
        {"wlan0", 3, 1, "", 0, true, "iwlwifi", "Wireless 8265"},
        {"tun0", 4, 65534, "tun"},
        {"enp5s0", 5, 1, "", 0, false, "r8169"},
        {"ifb0", 6, 1, "ifb"},
        {"aveth", 7, 1, "veth"},
        {"br0", 8, 1, "bridge"},
        {"brport", 9, 1, "veth", 8},
        {"bond0", 10, 1, "bond"},
        {"enp6s0", 11, 1, "", 10, false, "igb"},  // a port of bond0
        {"tap0", 12, 1, "tun"},
        {"dummy0", 13, 1, "dummy"},
        {"nodevice", 15, 1, ""},
    });
    std::vector<std::pair<std::string, std::string>> listed;
    for (const adapters::AdapterInfo& adapter : Discover())
        listed.emplace_back(adapter.instanceId, adapter.description);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"zeth", "82574L Gigabit Network Connection"},
        {"enp5s0", "r8169"},
        {"aveth", "aveth"},
        {"br0", "br0"},
        {"bond0", "bond0"},
        {"mv0", "mv0"},
    };
    EXPECT_EQ(listed, expected);
}

TEST_F(AdapterViewsTest, TheClassKeyIsReadOnlyAndALongModelNameIsCut) {
    AddLinks({{"eth0", 2, 1, "veth", 0, false, "", std::string(300, 'M')}});
    win::HKEY key = nullptr;
    const std::string adapterKey = std::string(kAdapterClassKeyPath) + "\\0000";
    EXPECT_EQ(registry.RegOpenKeyEx(win::HKEY_LOCAL_MACHINE, adapterKey, 0, win::KEY_WRITE, &key),
              win::ERROR_ACCESS_DENIED);
    const adapters::AdapterList list = Discover();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].description, std::string(255, 'M'));
}

TEST_F(AdapterViewsTest, AdaptersOfOneModelAreNumberedInIndexOrderAndTheFirstKeepsItsName) {
    const std::string model = "82574L Gigabit Network Connection";
    const std::string longModel(300, 'M');
    AddLinks({
        {"eth5", 9, 1, "", 0, false, "e1000e", model},
        {"eth0", 2, 1, "", 0, false, "e1000e", model},
        {"eth2", 3, 1, "", 10, false, "e1000e", model},  // a port of a bond: not offered, not counted
        {"eth1", 5, 1, "", 0, false, "e1000e", model},
        {"eth3", 7, 1, "", 0, false, "r8169"},
        {"eth4", 8, 1, "", 0, false, "r8169"},
        {"veth0", 11, 1, "veth", 0, false, "", longModel},
        {"veth1", 12, 1, "veth", 0, false, "", longModel},
    });
    std::vector<std::pair<std::string, std::string>> listed;
    for (const adapters::AdapterInfo& adapter : Discover())
        listed.emplace_back(adapter.instanceId, adapter.description);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"eth0", model},
        {"eth1", model + " #2"},
        {"eth3", "r8169"},
        {"eth4", "r8169 #2"},
        {"eth5", model + " #3"},
        {"veth0", std::string(255, 'M')},
        {"veth1", std::string(252, 'M') + " #2"},
    };
    EXPECT_EQ(listed, expected);
}

TEST_F(AdapterViewsTest, LiveStateReadsAsTheProgramWouldHaveWrittenIt) {
    AddLinks({{"eth0", 2, 1, "veth"}});
    state->links["eth0"] = {{"192.168.1.10", "10.9.0.1"}, {"255.255.255.0", "255.255.0.0"}, {"192.168.1.1"}};
    state->servers = {"192.168.1.1", "8.8.8.8", "9.9.9.9"};
    const adapters::AdapterList list = Discover();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].settings, (adapters::Ipv4Settings{"192.168.1.10", "255.255.255.0", "192.168.1.1",
                                                        "192.168.1.1", "8.8.8.8,9.9.9.9"}));

    win::HKEY key = nullptr;
    ASSERT_EQ(registry.RegOpenKeyEx(win::HKEY_LOCAL_MACHINE, std::string(kTcpipInterfacesKeyPath) + "\\eth0",
                                    0, win::KEY_READ, &key),
              win::ERROR_SUCCESS);
    std::uint8_t data[256];
    win::DWORD size = sizeof data;
    ASSERT_EQ(registry.RegQueryValueEx(key, "IPAddress", nullptr, data, &size), win::ERROR_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), std::string("192.168.1.10\0"
                                                                            "10.9.0.1\0\0",
                                                                            23));
    registry.RegCloseKey(key);
}

TEST_F(AdapterViewsTest, PendingWritesReadBackExactlyUntilCleared) {
    AddLinks({{"eth0", 2, 1, "veth"}});
    state->links["eth0"] = {{"192.168.1.10"}, {"255.255.255.0"}, {"192.168.1.1"}};
    const adapters::Ipv4Settings written{"10.0.0.5", "255.0.0.0", "", "1.1.1.1", ""};
    ASSERT_TRUE(adapters::WriteAdapterSettings(services, "eth0", written));
    adapters::Ipv4Settings read;
    ASSERT_TRUE(adapters::ReadAdapterSettings(registry, read, "eth0"));
    EXPECT_EQ(read, written);

    // What our libdhcpcsvc.so does once it applied the change.
    auto store = platform_linux::OpenPendingStore(dir / "hive.sqlite");
    ASSERT_EQ(PendingTcpipSettings(*store).Clear("eth0"), win::ERROR_SUCCESS);
    adapters::Ipv4Settings live;
    adapters::ReadAdapterSettings(registry, live, "eth0");
    EXPECT_EQ(live.ipAddress, "192.168.1.10");
    EXPECT_EQ(live.defaultGateway, "192.168.1.1");
}

// An open key reads the pending values once; what is written or deleted through it reads back at once.
TEST_F(AdapterViewsTest, AWriteThroughAnOpenKeyReadsBackAtOnce) {
    state->links["eth0"] = {{"192.168.1.10"}, {"255.255.255.0"}, {}};
    win::HKEY key = nullptr;
    ASSERT_EQ(registry.RegOpenKeyEx(win::HKEY_LOCAL_MACHINE, std::string(kTcpipInterfacesKeyPath) + "\\eth0",
                                    0, win::KEY_READ | win::KEY_WRITE, &key),
              win::ERROR_SUCCESS);
    const auto read = [&] {
        char data[64] = {};
        win::DWORD size = sizeof data - 1;
        registry.RegQueryValueEx(key, "ipaddress", nullptr, reinterpret_cast<std::uint8_t*>(data), &size);
        return std::string(data);
    };
    EXPECT_EQ(read(), "192.168.1.10");
    const std::uint8_t written[] = "10.0.0.5\0";
    ASSERT_EQ(registry.RegSetValueEx(key, "IPAddress", win::REG_MULTI_SZ, written, sizeof written),
              win::ERROR_SUCCESS);
    EXPECT_EQ(read(), "10.0.0.5");
    ASSERT_EQ(registry.RegDeleteValue(key, "IPAddress"), win::ERROR_SUCCESS);
    EXPECT_EQ(read(), "192.168.1.10");
    registry.RegCloseKey(key);
}

TEST_F(AdapterViewsTest, AnInterfaceNameWhoseGbkEndsInABackslashByteNamesOneKey) {
    // 誠 is "\xD5\x5C" in GBK: its second byte is the code of '\', which must not split the key path.
    const std::string kernelName =
        "\xE8\xAA\xA0"
        "0";
    const std::string gbkName =
        "\xD5\x5C"
        "0";
    state->links[kernelName] = {{"192.168.1.10"}, {"255.255.255.0"}, {"192.168.1.1"}};
    adapters::Ipv4Settings settings;
    ASSERT_TRUE(adapters::ReadAdapterSettings(registry, settings, gbkName));
    EXPECT_EQ(settings.ipAddress, "192.168.1.10");
    ASSERT_TRUE(adapters::WriteAdapterSettings(services, gbkName, {"10.0.0.5", "255.0.0.0", "", "", ""}));
    ASSERT_TRUE(adapters::ReadAdapterSettings(registry, settings, gbkName));
    EXPECT_EQ(settings.ipAddress, "10.0.0.5");
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(AdapterViewsTest, EachOpenOfAnInterfaceKeyLooksAtTheKernelAgain) {
    state->links["eth0"] = {{"192.168.1.10"}, {"255.255.255.0"}, {}};
    adapters::Ipv4Settings before;
    ASSERT_TRUE(adapters::ReadAdapterSettings(registry, before, "eth0"));
    state->links["eth0"] = {{"10.0.0.5"}, {"255.0.0.0"}, {"10.0.0.1"}};
    adapters::Ipv4Settings after;
    ASSERT_TRUE(adapters::ReadAdapterSettings(registry, after, "eth0"));
    EXPECT_EQ(before.ipAddress, "192.168.1.10");
    EXPECT_EQ(after.ipAddress, "10.0.0.5");
    EXPECT_EQ(after.subnetMask, "255.0.0.0");
    EXPECT_EQ(after.defaultGateway, "10.0.0.1");
}

TEST_F(AdapterViewsTest, ASubkeyNamesTheInterfaceItWasListedAsUntilItGoesAway) {
    AddLinks({{"eth0", 2, 1, "veth"}, {"eth1", 3, 1, "veth"}});
    win::HKEY classKey = nullptr;
    ASSERT_EQ(
        registry.RegOpenKeyEx(win::HKEY_LOCAL_MACHINE, kAdapterClassKeyPath, 0, win::KEY_READ, &classKey),
        win::ERROR_SUCCESS);
    char name[256];
    win::DWORD size = sizeof name;
    ASSERT_EQ(registry.RegEnumKeyEx(classKey, 0, name, &size), win::ERROR_SUCCESS);
    std::erase_if(links, [](const netlink::Link& link) { return link.name == "eth0"; });
    AddLinks({{"eth9", 1, 1, "veth"}});  // a new, lower index appears mid-walk
    win::HKEY gone = nullptr;
    EXPECT_EQ(registry.RegOpenKeyEx(classKey, "0000", 0, win::KEY_READ, &gone), win::ERROR_FILE_NOT_FOUND);
    win::HKEY second = nullptr;
    ASSERT_EQ(registry.RegOpenKeyEx(classKey, "0001", 0, win::KEY_READ, &second), win::ERROR_SUCCESS);
    std::uint8_t data[256];
    win::DWORD dataSize = sizeof data;
    ASSERT_EQ(registry.RegQueryValueEx(second, "NetCfgInstanceID", nullptr, data, &dataSize),
              win::ERROR_SUCCESS);
    EXPECT_STREQ(reinterpret_cast<char*>(data), "eth1");
    registry.RegCloseKey(second);
    registry.RegCloseKey(classKey);
    // The next walk sees the machine as it is now.
    const adapters::AdapterList list = Discover();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].instanceId, "eth9");
    EXPECT_EQ(list[1].instanceId, "eth1");
}

TEST_F(AdapterViewsTest, WritingNeedsAnExistingInterface) {
    state->links["eth0"] = {};
    const char* names[] = {"eth9", "", "a-name-of-16-byt"};
    for (const char* name : names) {
        EXPECT_FALSE(adapters::WriteAdapterSettings(services, name, {"10.0.0.5", "255.0.0.0", "", "", ""}))
            << name;
    }
    EXPECT_EQ(host.MessageBoxes().size(), 3u);
    win::HKEY key = nullptr;
    EXPECT_EQ(
        registry.RegOpenKeyEx(win::HKEY_LOCAL_MACHINE, kTcpipInterfacesKeyPath, 0, win::KEY_WRITE, &key),
        win::ERROR_ACCESS_DENIED);
    auto store = platform_linux::OpenPendingStore(dir / "hive.sqlite");
    RegistryValue pending;
    EXPECT_EQ(PendingTcpipSettings(*store).Query("eth9", "IPAddress", pending), win::ERROR_FILE_NOT_FOUND);
}

// The value of a subkey of the adapter class key; "" when it cannot be read.
std::string ClassValue(win::Registry& registry, const std::string& subKey, const char* name) {
    win::HKEY key = nullptr;
    if (registry.RegOpenKeyEx(win::HKEY_LOCAL_MACHINE, std::string(kAdapterClassKeyPath) + "\\" + subKey, 0,
                              win::KEY_READ, &key) != win::ERROR_SUCCESS) {
        return "";
    }
    char data[256] = {};
    win::DWORD size = sizeof data - 1;
    registry.RegQueryValueEx(key, name, nullptr, reinterpret_cast<std::uint8_t*>(data), &size);
    registry.RegCloseKey(key);
    return data;
}

// The links are this process's own: lo, index 1 in every network namespace, is the first subkey.
TEST(ShippedRegistry, TakesItsRootsFromTheEnvironment) {
    TempDir dir;
    MakeSysfs(dir, {{"lo", 1, 772, "", 0, false, "fakedrv", "From udev"}});
    ::setenv("OSTRELLE_SYSFS_ROOT", (dir / "sys").c_str(), 1);
    ::setenv("OSTRELLE_UDEV_ROOT", (dir / "udev").c_str(), 1);
    ::setenv("OSTRELLE_HIVE_PATH", (dir / "var/hive.sqlite").c_str(), 1);
    auto registry = MakeLinuxRegistry();
    EXPECT_EQ(ClassValue(*registry, "0000", "NetCfgInstanceID"), "lo");
    EXPECT_EQ(ClassValue(*registry, "0000", "DriverDesc"), "From udev");
    // The values are read once per walk of the class key: the next walk sees the change.
    fs::remove_all(dir.path / "udev");
    EXPECT_EQ(ClassValue(*registry, "0000", "DriverDesc"), "From udev");
    adapters::AdapterList walked;
    ASSERT_TRUE(adapters::EnumerateAdapters(*registry, walked));
    EXPECT_EQ(ClassValue(*registry, "0000", "DriverDesc"), "fakedrv") << "the driver under the sysfs root";
    win::HKEY key = nullptr;
    ASSERT_EQ(registry->RegOpenKeyEx(win::HKEY_LOCAL_MACHINE, "Software\\Test", 0, win::KEY_WRITE, &key),
              win::ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(fs::exists(dir.path / "var/hive.sqlite"));
    for (const char* name : {"OSTRELLE_SYSFS_ROOT", "OSTRELLE_UDEV_ROOT", "OSTRELLE_HIVE_PATH"})
        ::unsetenv(name);
}

}  // namespace
