// The router and the hive: the registry semantics the program relies on, on the Linux home.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/registry/linux/LinuxRegistry.h"
#include "platform/registry/linux/SqliteHive.h"
#include "support/TempDir.h"

namespace {

using namespace platform_linux;

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

class LinuxRegistryTest : public ::testing::Test {
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

    TempDir dir;
    LinuxRegistry registry{std::make_unique<HiveProvider>(dir / "hive.sqlite")};
    RecordingProvider* mounted = nullptr;
};

TEST_F(LinuxRegistryTest, RoutesToTheMountWithThePathAsWrittenBelowIt) {
    win::HKEY key = Open("SOFTWARE\\mounted\\HERE\\Deep\\Er", win::KEY_READ);
    ASSERT_EQ(mounted->paths, std::vector<std::string>{"Deep\\Er"});
    std::uint8_t data[256];
    win::DWORD size = sizeof data;
    ASSERT_EQ(registry.RegQueryValueEx(key, "x", nullptr, data, &size), win::ERROR_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), "Deep\\Er");
    EXPECT_EQ(SubKeys(key), (std::vector<std::string>{"b", "a"}));
    registry.RegCloseKey(key);
}

TEST_F(LinuxRegistryTest, TheWayToAMountPointCanBeOpenedAndEnumerated) {
    win::HKEY software = Open("Software", win::KEY_READ);
    EXPECT_EQ(SubKeys(software), std::vector<std::string>{"Mounted"});
    win::HKEY mountedKey = nullptr;
    EXPECT_EQ(registry.RegOpenKeyEx(software, "Mounted\\Here", 0, win::KEY_READ, &mountedKey),
              win::ERROR_SUCCESS);
    Open("Software\\Elsewhere", win::KEY_READ, win::ERROR_FILE_NOT_FOUND);
    registry.RegCloseKey(mountedKey);
    registry.RegCloseKey(software);
}

TEST_F(LinuxRegistryTest, AccessRightsAndHandles) {
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

TEST_F(LinuxRegistryTest, QueriesFitTheCallersBufferOrFailWithMoreData) {
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

// The first column of the first row sql gives on the hive file, as text.
std::string Ask(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_stmt* statement = nullptr;
    std::string answer;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        answer = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return answer;
}

const char* const kValuesTableSql = "SELECT sql FROM sqlite_master WHERE name = 'key_values'";

TEST(SqliteHive, KeepsBytesAndCaseAndOrder) {
    TempDir dir;
    auto hive = SqliteHive::Open(dir / "sub/hive.sqlite");
    ASSERT_TRUE(hive);
    const RegistryValue multi{win::REG_MULTI_SZ, {'1', 0, '2', 0, 0}};
    ASSERT_EQ(hive->Set("A\\Zeta", "IPAddress", multi), win::ERROR_SUCCESS);
    ASSERT_EQ(hive->Set("a\\Alpha", "Empty", {win::REG_SZ, {}}), win::ERROR_SUCCESS);
    RegistryValue read;
    ASSERT_EQ(hive->Query("a\\zeta", "ipaddress", read), win::ERROR_SUCCESS);
    EXPECT_EQ(read.type, win::REG_MULTI_SZ);
    EXPECT_EQ(read.data, multi.data);
    ASSERT_EQ(hive->Query("A\\ALPHA", "empty", read), win::ERROR_SUCCESS);
    EXPECT_TRUE(read.data.empty());
    EXPECT_EQ(hive->SubKeys("a"), (std::vector<std::string>{"Zeta", "Alpha"}));
    EXPECT_TRUE(hive->KeyExists("A"));
    EXPECT_EQ(hive->Delete("a\\zeta", "IPADDRESS"), win::ERROR_SUCCESS);
    EXPECT_EQ(hive->Query("a\\zeta", "ipaddress", read), win::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(hive->Delete("a\\zeta", "IPADDRESS"), win::ERROR_FILE_NOT_FOUND);

    // A new file: values in one B-tree, small pages.
    EXPECT_NE(Ask(dir / "sub/hive.sqlite", kValuesTableSql).find("WITHOUT ROWID"), std::string::npos);
    EXPECT_EQ(Ask(dir / "sub/hive.sqlite", "PRAGMA page_size"), "1024");
}

TEST(SqliteHive, AFileWithoutTheValuesTableFailsEachCallInsteadOfCrashing) {
    TempDir dir;
    const std::string path = dir / "hive.sqlite";
    auto hive = SqliteHive::Open(path);
    ASSERT_TRUE(hive);
    ASSERT_TRUE(hive->KeyExists(""));
    // Another program leaves the file without the table of values.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "DROP TABLE key_values", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);

    RegistryValue value;
    EXPECT_EQ(hive->Query("A", "v", value), win::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(hive->Set("A", "v", {win::REG_SZ, {'x', 0}}), win::ERROR_ACCESS_DENIED);
    EXPECT_FALSE(hive->KeyExists("A")) << "the failed write left nothing half-done";
    EXPECT_EQ(hive->Delete("A", "v"), win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(hive->DeleteAll("A", {"v"}), win::ERROR_ACCESS_DENIED);

    hive.reset();
    hive = SqliteHive::Open(path);
    ASSERT_TRUE(hive) << "the next open makes the missing table again";
    EXPECT_EQ(hive->Set("A", "v", {win::REG_SZ, {'x', 0}}), win::ERROR_SUCCESS);
}

// A hive written before the values moved into one B-tree: a rowid table with its own index.
TEST(SqliteHive, AHiveOfTheEarlierLayoutIsCarriedOverWithEveryValue) {
    TempDir dir;
    const std::string path = dir / "hive.sqlite";
    sqlite3* old = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &old), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(old,
                     "PRAGMA journal_mode=WAL;"
                     "CREATE TABLE keys(path TEXT PRIMARY KEY, parent TEXT NOT NULL, name TEXT NOT NULL);"
                     "CREATE TABLE key_values(key TEXT NOT NULL, lower_name TEXT NOT NULL, name TEXT NOT "
                     "NULL, type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, lower_name));"
                     "INSERT INTO keys VALUES('a', '', 'A');"
                     "INSERT INTO key_values VALUES('a', 'ipaddress', 'IPAddress', 7, x'31000000');"
                     "INSERT INTO key_values VALUES('a', 'empty', 'Empty', 1, x'');",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(old);

    for (int open = 0; open < 2; ++open) {
        auto hive = SqliteHive::Open(path);
        ASSERT_TRUE(hive) << open;
        RegistryValue value;
        ASSERT_EQ(hive->Query("A", "IPADDRESS", value), win::ERROR_SUCCESS);
        EXPECT_EQ(value.type, win::REG_MULTI_SZ);
        EXPECT_EQ(value.data, (std::vector<std::uint8_t>{'1', 0, 0, 0}));
        ASSERT_EQ(hive->Query("a", "Empty", value), win::ERROR_SUCCESS);
        EXPECT_TRUE(value.data.empty());
        EXPECT_EQ(hive->SubKeys(""), std::vector<std::string>{"A"});
        EXPECT_EQ(hive->Set("A", "Next", {win::REG_SZ, {'n', 0}}), win::ERROR_SUCCESS);
    }
    EXPECT_NE(Ask(path, kValuesTableSql).find("WITHOUT ROWID"), std::string::npos);
}

TEST(SqliteHive, TwoProcessesWritingAtOnceLoseNothing) {
    TempDir dir;
    const std::string path = dir / "hive.sqlite";
    ASSERT_TRUE(SqliteHive::Open(path));
    constexpr int kWrites = 150;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    const std::string writer = child == 0 ? "child" : "parent";
    {
        auto hive = SqliteHive::Open(path);
        int failures = hive ? 0 : 1;
        for (int i = 0; hive && i < kWrites; ++i) {
            const std::string text = writer + std::to_string(i);
            failures += hive->Set("Shared\\" + writer, "v" + std::to_string(i),
                                  {win::REG_SZ, {text.begin(), text.end()}}) != win::ERROR_SUCCESS;
        }
        if (child == 0)
            ::_exit(failures == 0 ? 0 : 1);
        EXPECT_EQ(failures, 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    auto hive = SqliteHive::Open(path);
    for (const std::string name : {"child", "parent"}) {
        for (int i = 0; i < kWrites; ++i) {
            RegistryValue value;
            ASSERT_EQ(hive->Query("Shared\\" + name, "v" + std::to_string(i), value), win::ERROR_SUCCESS)
                << name << i;
            EXPECT_EQ(std::string(value.data.begin(), value.data.end()), name + std::to_string(i));
        }
    }
}

}  // namespace
