#pragma once
// The keys no live source backs, kept in one SQLite file. Every write is its own transaction, the
// journal is in WAL mode and a busy connection waits (up to a second) instead of failing at once, so two
// processes writing at once lose nothing. The pending TCP/IP settings (PendingTcpipSettings.h) use the
// same layout in a hive kept in memory (OpenInMemory).
//
// Paths are full key paths under HKEY_LOCAL_MACHINE; keys and value names compare without regard to
// ASCII letter case and keep the case they were created with.

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/RegistryProvider.h"

struct sqlite3;
struct sqlite3_stmt;

namespace platform_linux {

class SqliteHive {
  public:
    // Creates the file and its folder when missing. Null when the file cannot be opened or set up.
    static std::unique_ptr<SqliteHive> Open(const std::string& filePath);
    // A hive in this process's memory, shared by every connection of the process opened under the same
    // name and gone with the last of them. Null when it cannot be opened.
    static std::unique_ptr<SqliteHive> OpenInMemory(const std::string& name);
    ~SqliteHive();
    SqliteHive(const SqliteHive&) = delete;
    SqliteHive& operator=(const SqliteHive&) = delete;

    bool KeyExists(std::string_view path);
    std::vector<std::string> SubKeys(std::string_view path);
    // ERROR_FILE_NOT_FOUND when the key or the value is missing.
    win::LONG Query(std::string_view path, std::string_view name, winreg::RegistryValue& value);
    // Creates the key and its ancestors as needed.
    win::LONG Set(std::string_view path, std::string_view name, const winreg::RegistryValue& value);
    win::LONG Delete(std::string_view path, std::string_view name);
    win::LONG CreateKey(std::string_view path);

    // For the hive's other tables: a statement compiled once per connection (null when it cannot be,
    // which SqliteStatement answers with SQLITE_ERROR), and the rows the last statement changed.
    sqlite3_stmt* Prepared(const char* sql);
    int ChangedRows() const;

  private:
    explicit SqliteHive(sqlite3* db) : db_(db) {}
    bool Exec(const char* sql);
    bool SetUpSchema();
    bool HasValuesTable();
    bool MovePendingValues();
    std::int64_t LayoutVersion();  // the file's user_version; -1 when it cannot be read
    // Runs work as one transaction: committed when it returns true, rolled back otherwise.
    bool InTransaction(const std::function<bool()>& work);
    bool EnsureKey(const std::vector<std::string>& components);

    sqlite3* db_;
    std::map<const char*, sqlite3_stmt*> statements_;
};

// A hive file opened on first use and again after a failure, so that a folder created later is picked up,
// and again when the file at the path is no longer the one open (deleted, or replaced by another).
class HiveConnection {
  public:
    explicit HiveConnection(std::string filePath) : filePath_(std::move(filePath)) {}
    // Null while the file cannot be opened.
    SqliteHive* Get();

  private:
    std::string filePath_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::unique_ptr<SqliteHive> hive_;
};

// The hive as a provider of every key no other provider covers.
class HiveProvider : public winreg::RegistryProvider {
  public:
    explicit HiveProvider(std::string filePath) : hive_(std::move(filePath)) {}

    win::LONG OpenKey(std::string_view path, win::REGSAM access) override;
    win::LONG ListSubKeys(std::string_view path, std::vector<std::string>& names) override;
    win::LONG QueryValue(std::string_view path, std::string_view name, winreg::RegistryValue& value) override;
    win::LONG SetValue(std::string_view path, std::string_view name,
                       const winreg::RegistryValue& value) override;
    win::LONG DeleteValue(std::string_view path, std::string_view name) override;

  private:
    HiveConnection hive_;
};

}  // namespace platform_linux
