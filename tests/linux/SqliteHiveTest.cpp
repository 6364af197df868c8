// The hive: the keys no live source backs, in one SQLite file shared by two processes.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/registry/linux/PendingTcpipSettings.h"
#include "platform/registry/linux/SqliteHive.h"
#include "support/TempDir.h"

namespace {

using namespace platform_linux;
using winreg::RegistryValue;

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

TEST(SqliteHive, AFileWithoutItsTablesFailsEachCallInsteadOfCrashing) {
    TempDir dir;
    const std::string path = dir / "hive.sqlite";
    auto hive = SqliteHive::Open(path);
    ASSERT_TRUE(hive);
    ASSERT_TRUE(hive->KeyExists(""));
    // Another program leaves the file without the tables of values.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(other, "DROP TABLE key_values; DROP TABLE pending_tcpip", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(other);

    RegistryValue value;
    EXPECT_EQ(hive->Query("A", "v", value), win::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(hive->Set("A", "v", {win::REG_SZ, {'x', 0}}), win::ERROR_ACCESS_DENIED);
    EXPECT_FALSE(hive->KeyExists("A")) << "the failed write left nothing half-done";
    EXPECT_EQ(hive->Delete("A", "v"), win::ERROR_ACCESS_DENIED);
    PendingTcpipSettings pending(*hive);
    // Not "not pending": a switch that took it so would go ahead without the gateway the program wrote.
    EXPECT_EQ(pending.Query("eth0", "v", value), win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(pending.Set("eth0", "v", {win::REG_SZ, {'x', 0}}), win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(pending.Delete("eth0", "v"), win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(pending.Clear("eth0"), win::ERROR_ACCESS_DENIED);

    hive.reset();
    hive = SqliteHive::Open(path);
    ASSERT_TRUE(hive) << "the next open makes the missing tables again";
    EXPECT_EQ(hive->Set("A", "v", {win::REG_SZ, {'x', 0}}), win::ERROR_SUCCESS);
    EXPECT_EQ(PendingTcpipSettings(*hive).Set("eth0", "v", {win::REG_SZ, {'x', 0}}), win::ERROR_SUCCESS);
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

// Hives of both earlier layouts kept pending TCP/IP values as ordinary values of the interface keys.
TEST(SqliteHive, PendingValuesOfAnEarlierLayoutMoveToThePendingTable) {
    const char* const valuesTables[] = {
        "CREATE TABLE key_values(key TEXT NOT NULL, lower_name TEXT NOT NULL, name TEXT NOT NULL, type "
        "INTEGER "
        "NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, lower_name));",
        "CREATE TABLE key_values(key TEXT NOT NULL, lower_name TEXT NOT NULL, name TEXT NOT NULL, type "
        "INTEGER "
        "NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, lower_name)) WITHOUT ROWID; PRAGMA user_version = 1;",
    };
    const std::string interfaces = "system\\currentcontrolset\\services\\tcpip\\parameters\\interfaces";
    for (const char* valuesTable : valuesTables) {
        TempDir dir;
        const std::string path = dir / "hive.sqlite";
        sqlite3* old = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &old), SQLITE_OK);
        std::string sql =
            "PRAGMA journal_mode=WAL;"
            "CREATE TABLE keys(path TEXT PRIMARY KEY, parent TEXT NOT NULL, name TEXT NOT NULL);";
        sql += valuesTable;
        sql += "INSERT INTO keys VALUES('a', '', 'A');";
        sql += "INSERT INTO keys VALUES('" + interfaces + "\\eth0', '";
        sql += interfaces + "', 'eth0');";
        sql += "INSERT INTO key_values VALUES('" + interfaces +
               "\\eth0', 'ipaddress', 'IPAddress', 7, x'3100');";
        sql += "INSERT INTO key_values VALUES('a', 'kept', 'Kept', 1, x'6b00');";
        ASSERT_EQ(sqlite3_exec(old, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << valuesTable;
        sqlite3_close(old);

        auto hive = SqliteHive::Open(path);
        ASSERT_TRUE(hive) << valuesTable;
        RegistryValue value;
        ASSERT_EQ(PendingTcpipSettings(*hive).Query("ETH0", "IPAddress", value), win::ERROR_SUCCESS);
        EXPECT_EQ(value.type, win::REG_MULTI_SZ);
        EXPECT_EQ(value.data, (std::vector<std::uint8_t>{'1', 0}));
        EXPECT_FALSE(hive->KeyExists(interfaces + "\\eth0")) << "the old row stayed behind";
        EXPECT_EQ(hive->Query("A", "kept", value), win::ERROR_SUCCESS) << "another key lost its value";
        EXPECT_EQ(Ask(path, "PRAGMA user_version"), "2");
    }
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
