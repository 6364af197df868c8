#include "platform/registry/windows/WindowsRegistry.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "RegistrySeed.h"

namespace {

using namespace win;

constexpr const char* kRoot = "SOFTWARE\\OstrelleTests";

class WindowsRegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        windows_test::DeleteLocalMachineTree(kRoot);
        for (const char* sub : {"\\0000", "\\0001"})
            ASSERT_TRUE(windows_test::CreateLocalMachineKey(std::string(kRoot) + sub));
        ASSERT_EQ(registry.RegOpenKeyEx(HKEY_LOCAL_MACHINE, kRoot, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    }
    void TearDown() override {
        EXPECT_EQ(registry.RegCloseKey(key), ERROR_SUCCESS);
        windows_test::DeleteLocalMachineTree(kRoot);
    }

    LONG Set(std::string_view name, DWORD type, const std::string& bytes) {
        return registry.RegSetValueEx(key, name, type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                      static_cast<DWORD>(bytes.size()));
    }

    platform_windows::WindowsRegistry registry;
    HKEY key = nullptr;
};

TEST_F(WindowsRegistryTest, SubkeysAreEnumeratedInOrderUntilNoMoreItems) {
    std::array<char, 16> name{};
    DWORD size = name.size();
    ASSERT_EQ(registry.RegEnumKeyEx(key, 0, name.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(std::string(name.data(), size), "0000");
    size = 3;
    EXPECT_EQ(registry.RegEnumKeyEx(key, 1, name.data(), &size), ERROR_MORE_DATA) << "no room for the NUL";
    size = name.size();
    EXPECT_EQ(registry.RegEnumKeyEx(key, 2, name.data(), &size), ERROR_NO_MORE_ITEMS);
    HKEY missing = nullptr;
    EXPECT_EQ(registry.RegOpenKeyEx(key, "0002", 0, KEY_READ, &missing), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missing, nullptr);
}

TEST_F(WindowsRegistryTest, ValuesKeepTheirGbkBytesAndTypes) {
    const struct {
        const char* name;
        DWORD type;
        std::string bytes;
    } cases[] = {
        {"DriverDesc", REG_SZ, std::string("\xCD\xF8\xBF\xA8", 4) + '\0'},  // 网卡
        {"IPAddress", REG_MULTI_SZ, std::string("192.168.1.10\0\0", 14)},
        {"\xB0\xEC\xB9\xAB", REG_SZ, std::string("x\0", 2)},  // a GBK value name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Set(c.name, c.type, c.bytes), ERROR_SUCCESS);
        std::array<std::uint8_t, 64> data{};
        DWORD type = 0;
        DWORD size = data.size();
        ASSERT_EQ(registry.RegQueryValueEx(key, c.name, &type, data.data(), &size), ERROR_SUCCESS);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data()), size), c.bytes);
    }
}

TEST_F(WindowsRegistryTest, ShortBufferGetsTheSizeAndStaysUntouched) {
    ASSERT_EQ(Set("DefaultGateway", REG_MULTI_SZ, std::string("192.168.1.1\0\0", 13)), ERROR_SUCCESS);
    std::array<std::uint8_t, 4> data{'k', 'e', 'e', 'p'};
    DWORD size = data.size();
    EXPECT_EQ(registry.RegQueryValueEx(key, "DefaultGateway", nullptr, data.data(), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 13u);
    EXPECT_EQ(std::string(data.begin(), data.end()), "keep");
    size = 0;
    EXPECT_EQ(registry.RegQueryValueEx(key, "DefaultGateway", nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 13u) << "a size query";
}

TEST_F(WindowsRegistryTest, DeletedValueIsGone) {
    ASSERT_EQ(Set("EnableDHCP", REG_SZ, std::string("1\0", 2)), ERROR_SUCCESS);
    EXPECT_EQ(registry.RegDeleteValue(key, "EnableDHCP"), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(registry.RegQueryValueEx(key, "EnableDHCP", nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.RegDeleteValue(key, "EnableDHCP"), ERROR_FILE_NOT_FOUND);
}

}  // namespace
