// The router: the Windows registry rules the program relies on, whatever provider holds the keys.
#include "platform/registry/RegistryRouter.h"

#include <gtest/gtest.h>

#include "fakes/InMemoryProvider.h"
#include "platform/registry/KeyPath.h"

namespace {

using namespace winreg;

// A provider that remembers the paths it was asked for.
class RecordingProvider : public RegistryProvider {
  public:
    win::LONG OpenKey(std::string_view path, win::REGSAM) override {
        paths.emplace_back(path);
        return win::ERROR_SUCCESS;
    }
    win::LONG ListSubKeys(std::string_view, std::vector<std::string>& names) override {
        names = {"b", "a"};
        return win::ERROR_SUCCESS;
    }
    win::LONG QueryValue(std::string_view path, std::string_view, RegistryValue& value) override {
        value = {win::REG_SZ, {path.begin(), path.end()}};
        return win::ERROR_SUCCESS;
    }
    win::LONG SetValue(std::string_view, std::string_view, const RegistryValue&) override {
        return win::ERROR_SUCCESS;
    }
    win::LONG DeleteValue(std::string_view, std::string_view) override { return win::ERROR_SUCCESS; }
    std::vector<std::string> paths;
};

class RegistryRouterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto provider = std::make_unique<RecordingProvider>();
        mounted = provider.get();
        registry.Mount("Software\\Mounted\\Here", std::move(provider));
    }
    win::HKEY Open(std::string_view path, win::REGSAM access, win::LONG expected = win::ERROR_SUCCESS) {
        win::HKEY key = nullptr;
        EXPECT_EQ(registry.RegOpenKeyEx(win::HKEY_LOCAL_MACHINE, path, 0, access, &key), expected) << path;
        return key;
    }
    std::vector<std::string> SubKeys(win::HKEY key) {
        std::vector<std::string> names;
        char name[256];
        for (win::DWORD i = 0;; ++i) {
            win::DWORD size = sizeof name;
            if (registry.RegEnumKeyEx(key, i, name, &size) != win::ERROR_SUCCESS)
                break;
            names.emplace_back(name, size);
        }
        return names;
    }
    win::LONG Set(win::HKEY key, std::string_view name, std::string_view bytes) {
        return registry.RegSetValueEx(key, name, win::REG_SZ,
                                      reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                      static_cast<win::DWORD>(bytes.size()));
    }

    std::unique_ptr<fakes::InMemoryProvider> ownedTree = std::make_unique<fakes::InMemoryProvider>();
    fakes::InMemoryProvider& tree = *ownedTree;
    RegistryRouter registry{std::move(ownedTree)};
    RecordingProvider* mounted = nullptr;
};

// Names match as their lower-case forms do: ASCII letters in either case, the bytes of a double-byte
// character as they are ("\xC1\x41" is one character whose second byte is an 'A').
TEST(KeyNames, EqualExactlyWhenTheirLowerCaseFormsAre) {
    const std::vector<std::string> names = {"",
                                            "a",
                                            "A",
                                            "Tcpip",
                                            "TCPIP",
                                            "tcpip ",
                                            "NetCfgInstanceID",
                                            "netcfginstanceid",
                                            "\xC1\x41",
                                            "\xC1\x61",
                                            "\xC1",
                                            "\xC1\x41x",
                                            "\xC1\x41X",
                                            "a\xC1\x41",
                                            "A\xC1\x61",
                                            std::string("\x80") + "A",
                                            std::string("\x80") + "a"};
    for (const std::string& a : names) {
        for (const std::string& b : names)
            EXPECT_EQ(KeyNamesEqual(a, b), LowerKeyName(a) == LowerKeyName(b)) << a << " / " << b;
    }
}

TEST_F(RegistryRouterTest, RoutesToTheMountWithThePathAsWrittenBelowIt) {
    win::HKEY key = Open("SOFTWARE\\mounted\\HERE\\Deep\\Er", win::KEY_READ);
    ASSERT_EQ(mounted->paths, std::vector<std::string>{"Deep\\Er"});
    std::uint8_t data[256];
    win::DWORD size = sizeof data;
    ASSERT_EQ(registry.RegQueryValueEx(key, "x", nullptr, data, &size), win::ERROR_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), "Deep\\Er");
    EXPECT_EQ(SubKeys(key), (std::vector<std::string>{"b", "a"}));
    registry.RegCloseKey(key);
}

TEST_F(RegistryRouterTest, TheWayToAMountPointCanBeOpenedAndEnumerated) {
    win::HKEY software = Open("Software", win::KEY_READ);
    EXPECT_EQ(SubKeys(software), std::vector<std::string>{"Mounted"});
    win::HKEY mountedKey = nullptr;
    EXPECT_EQ(registry.RegOpenKeyEx(software, "Mounted\\Here", 0, win::KEY_READ, &mountedKey),
              win::ERROR_SUCCESS);
    Open("Software\\Elsewhere", win::KEY_READ, win::ERROR_FILE_NOT_FOUND);
    registry.RegCloseKey(mountedKey);
    registry.RegCloseKey(software);
}

// Subkeys the fallback holds come first, then the mount points below the key; a listing that fails
// part-way gives the names it got and then its error at every later index, never ERROR_NO_MORE_ITEMS.
TEST_F(RegistryRouterTest, EnumerationEndsWithNoMoreItemsOrWithTheListingsError) {
    for (const char* name : {"Alpha", "Beta"})
        tree.CreateKey(std::string("Software\\") + name);
    win::HKEY key = Open("Software", win::KEY_READ);
    EXPECT_EQ(SubKeys(key), (std::vector<std::string>{"Alpha", "Beta", "Mounted"}));

    tree.FailEnumerationFrom("Software", 1, win::ERROR_ACCESS_DENIED);
    const std::pair<win::DWORD, win::LONG> steps[] = {{0, win::ERROR_SUCCESS},
                                                      {1, win::ERROR_ACCESS_DENIED},
                                                      {2, win::ERROR_ACCESS_DENIED},
                                                      {3, win::ERROR_ACCESS_DENIED}};
    for (const auto& [index, status] : steps) {
        char name[256];
        win::DWORD size = sizeof name;
        EXPECT_EQ(registry.RegEnumKeyEx(key, index, name, &size), status) << index;
    }
    registry.RegCloseKey(key);
}

TEST_F(RegistryRouterTest, AccessRightsAndHandles) {
    win::HKEY hiveKey = Open("Software\\Mounted", win::KEY_WRITE);
    ASSERT_EQ(Set(hiveKey, "v", "abc"), win::ERROR_SUCCESS);
    registry.RegCloseKey(hiveKey);

    win::HKEY readOnly = Open("Software\\Mounted", win::KEY_READ);
    EXPECT_EQ(Set(readOnly, "v", "x"), win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(registry.RegDeleteValue(readOnly, "v"), win::ERROR_ACCESS_DENIED);
    win::HKEY writeOnly = Open("Software\\Mounted", win::KEY_WRITE);
    std::uint8_t data[8];
    win::DWORD size = sizeof data;
    EXPECT_EQ(registry.RegQueryValueEx(writeOnly, "v", nullptr, data, &size), win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(registry.RegCloseKey(readOnly), win::ERROR_SUCCESS);
    EXPECT_EQ(registry.RegCloseKey(readOnly), win::ERROR_INVALID_HANDLE);
    size = sizeof data;
    EXPECT_EQ(registry.RegQueryValueEx(readOnly, "v", nullptr, data, &size), win::ERROR_INVALID_HANDLE);
    registry.RegCloseKey(writeOnly);
}

TEST_F(RegistryRouterTest, QueriesFitTheCallersBufferOrFailWithMoreData) {
    win::HKEY key = Open("Software\\Mounted", win::KEY_ALL_ACCESS);
    const std::pair<std::size_t, win::LONG> cases[] = {{255, win::ERROR_SUCCESS},
                                                       {256, win::ERROR_SUCCESS},
                                                       {257, win::ERROR_MORE_DATA},
                                                       {0, win::ERROR_SUCCESS}};
    for (const auto& [length, status] : cases) {
        ASSERT_EQ(Set(key, "Value", std::string(length, 'v')), win::ERROR_SUCCESS);
        std::uint8_t data[257] = {};
        data[256] = 0xEE;
        win::DWORD size = 256;
        win::DWORD type = 0;
        EXPECT_EQ(registry.RegQueryValueEx(key, "VALUE", &type, data, &size), status) << length;
        EXPECT_EQ(size, length);
        EXPECT_EQ(data[256], 0xEE) << "wrote past the buffer";
        if (status == win::ERROR_MORE_DATA) {
            EXPECT_EQ(data[0], 0) << "copied part of a value that does not fit";
        }
    }
    registry.RegCloseKey(key);
}

}  // namespace
