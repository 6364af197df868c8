#include "adapters/AdapterDiscovery.h"

#include <gtest/gtest.h>

#include "fakes/AdapterKeys.h"

namespace {

using fakes::AddAdapter;
using fakes::AddInterface;
using fakes::kAdapterClassKey;

std::vector<std::string> Descriptions(const adapters::AdapterList& list) {
    std::vector<std::string> descriptions;
    for (const auto& adapter : list)
        descriptions.push_back(adapter.description);
    return descriptions;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

class AdapterDiscoveryTest : public ::testing::Test {
  protected:
    adapters::AdapterList Enumerate() {
        adapters::AdapterList list;
        EXPECT_TRUE(adapters::EnumerateAdapters(registry, list));
        EXPECT_EQ(registry.OpenKeyCount(), 0) << "a key was left open";
        return list;
    }
    fakes::InMemoryRegistry registry;
};

TEST_F(AdapterDiscoveryTest, OnlyALowerRangeOfExactlyEthernetQualifies) {
    struct Case {
        std::string name;
        std::vector<std::uint8_t> lowerRange;
        bool listed;
    };
    const Case cases[] = {
        {"plain", Bytes(std::string("ethernet") + '\0'), true},
        {"multi-string first element", Bytes(std::string("ethernet\0wlan\0\0", 15)), true},
        {"no NUL at all", Bytes("ethernet"), true},
        {"comma list", Bytes(std::string("ethernet,wlan") + '\0'), false},
        {"other case", Bytes(std::string("Ethernet") + '\0'), false},
        {"multi-string second element", Bytes(std::string("wlan\0ethernet\0\0", 15)), false},
        {"trailing space", Bytes(std::string("ethernet ") + '\0'), false},
        {"empty", {}, false},
        {"ethernet then 248 NULs: 256 bytes",
         [] {
             auto bytes = Bytes("ethernet");
             bytes.resize(256, 0);
             return bytes;
         }(),
         true},
        {"ethernet then 249 NULs: 257 bytes",
         [] {
             auto bytes = Bytes("ethernet");
             bytes.resize(257, 0);
             return bytes;
         }(),
         false},
    };
    for (const Case& c : cases) {
        fakes::InMemoryRegistry fresh;
        const std::string key = kAdapterClassKey + "\\0000";
        fresh.Put(key + "\\Ndi\\Interfaces", "LowerRange", win::REG_SZ, c.lowerRange);
        fresh.PutString(key, "DriverDesc", "NIC");
        fresh.PutString(key, "NetCfgInstanceID", "eth0");
        adapters::AdapterList list;
        EXPECT_TRUE(adapters::EnumerateAdapters(fresh, list));
        EXPECT_EQ(list.size(), c.listed ? 1u : 0u) << c.name;
    }
}

TEST_F(AdapterDiscoveryTest, KeepsTheRegistrysOrderAndDuplicateDescriptions) {
    AddAdapter(registry, "0007", "ethernet", "Intel PRO/1000", "{B}");
    AddAdapter(registry, "0001", "ethernet,wlan", "Wireless", "{W}");
    AddAdapter(registry, "0003", "ethernet", "Intel PRO/1000", "{A}");
    AddAdapter(registry, "0000", "ethernet", "Realtek", "{C}");
    const auto list = Enumerate();
    ASSERT_EQ(Descriptions(list), (std::vector<std::string>{"Intel PRO/1000", "Intel PRO/1000", "Realtek"}));
    EXPECT_EQ(list[0].instanceId, "{B}");
    EXPECT_EQ(list[1].instanceId, "{A}");
    EXPECT_EQ(list[2].instanceId, "{C}");
}

TEST_F(AdapterDiscoveryTest, SkipsSubkeysThatAreNotUsableAdapters) {
    AddAdapter(registry, "0000", "ethernet", "first", "eth0");
    registry.CreateKey(kAdapterClassKey + "\\Properties");  // not an adapter at all
    registry.PutString(kAdapterClassKey + "\\0001", "DriverDesc", "no Ndi");
    registry.PutString(kAdapterClassKey + "\\0002\\Ndi\\Interfaces", "LowerRange", "ethernet");
    registry.PutString(kAdapterClassKey + "\\0002", "NetCfgInstanceID", "eth2");
    AddAdapter(registry, "0003", "ethernet", "last", "eth3");
    EXPECT_EQ(Descriptions(Enumerate()), (std::vector<std::string>{"first", "last"}));
}

TEST_F(AdapterDiscoveryTest, AnAdapterWithoutInstanceIdIsListedWithEmptySettings) {
    registry.PutString(kAdapterClassKey + "\\0000\\Ndi\\Interfaces", "LowerRange", "ethernet");
    registry.PutString(kAdapterClassKey + "\\0000", "DriverDesc", "orphan");
    AddInterface(registry, "", "10.0.0.1", "255.0.0.0", "10.0.0.254", "10.0.0.53");
    const auto list = Enumerate();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].description, "orphan");
    EXPECT_EQ(list[0].instanceId, "");
    EXPECT_EQ(list[0].settings, adapters::Ipv4Settings{});
}

TEST_F(AdapterDiscoveryTest, ReadsEachAdaptersSettings) {
    AddAdapter(registry, "0000", "ethernet", "NIC", "eth0");
    AddInterface(registry, "eth0", "192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8.8,8.8.4.4");
    const auto list = Enumerate();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].settings,
              (adapters::Ipv4Settings{"192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8.8", "8.8.4.4"}));
}

TEST_F(AdapterDiscoveryTest, DescriptionsAtTheBufferLimit) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        bool listed;
        std::size_t length;
    };
    const Case cases[] = {
        {[] {
             auto b = Bytes(std::string(254, 'x'));
             b.push_back(0);
             return b;
         }(),
         true, 254},
        {[] {
             auto b = Bytes(std::string(255, 'x'));
             b.push_back(0);
             return b;
         }(),
         true, 255},
        {Bytes(std::string(256, 'x')), true, 256},  // fills the buffer without a NUL: read up to its end
        {[] {
             auto b = Bytes(std::string(256, 'x'));
             b.push_back(0);
             return b;
         }(),
         false, 0},
    };
    for (const Case& c : cases) {
        fakes::InMemoryRegistry fresh;
        AddAdapter(fresh, "0000", "ethernet", "", "eth0");
        fresh.Put(kAdapterClassKey + "\\0000", "DriverDesc", win::REG_SZ, c.bytes);
        adapters::AdapterList list;
        adapters::EnumerateAdapters(fresh, list);
        ASSERT_EQ(list.size(), c.listed ? 1u : 0u) << c.bytes.size();
        if (c.listed) {
            EXPECT_EQ(list[0].description, std::string(c.length, 'x'));
        }
    }
}

TEST_F(AdapterDiscoveryTest, AnEnumerationErrorEndsTheWalk) {
    AddAdapter(registry, "0000", "ethernet", "first", "eth0");
    AddAdapter(registry, "0001", "ethernet", "second", "eth1");
    AddAdapter(registry, "0002", "ethernet", "third", "eth2");
    registry.FailEnumerationFrom(kAdapterClassKey, 1, win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(Descriptions(Enumerate()), (std::vector<std::string>{"first"}));
}

TEST_F(AdapterDiscoveryTest, AMissingClassKeyFailsAndAppendsNothing) {
    adapters::AdapterList list{adapters::AdapterInfo{"kept", "kept", {}}};
    EXPECT_FALSE(adapters::EnumerateAdapters(registry, list));
    EXPECT_EQ(list.size(), 1u);
}

TEST_F(AdapterDiscoveryTest, AppendsWithoutEmptyingTheList) {
    AddAdapter(registry, "0000", "ethernet", "NIC", "eth0");
    adapters::AdapterList list;
    adapters::EnumerateAdapters(registry, list);
    adapters::EnumerateAdapters(registry, list);
    EXPECT_EQ(list.size(), 2u);
}

}  // namespace
