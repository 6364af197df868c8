#pragma once
// The keys no live source backs, kept in one SQLite file. Every write is its own transaction, the
// journal is in WAL mode and a busy connection waits instead of failing, so two processes writing at
// once (the program and our libdhcpcsvc.so clearing pending values) lose nothing.
//
// Paths are full key paths under HKEY_LOCAL_MACHINE; keys and value names compare without regard to
// ASCII letter case and keep the case they were created with.

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
    // Deletes the named values, those present, in one transaction.
    win::LONG DeleteAll(std::string_view path, const std::vector<std::string>& names);
    win::LONG CreateKey(std::string_view path);

  private:
    explicit SqliteHive(sqlite3* db) : db_(db) {}
    bool Exec(const char* sql);
    bool SetUpSchema();
    bool HasValuesTable();
    std::int64_t LayoutVersion();  // the file's user_version; -1 when it cannot be read
    // Runs work as one transaction: committed when it returns true, rolled back otherwise.
    bool InTransaction(const std::function<bool()>& work);
    bool EnsureKey(const std::vector<std::string>& components);
    sqlite3_stmt* Prepared(const char* sql);

    sqlite3* db_;
    std::map<const char*, sqlite3_stmt*> statements_;
};

// The hive as a provider of every key no other provider covers.
class HiveProvider : public winreg::RegistryProvider {
  public:
    explicit HiveProvider(std::string filePath) : filePath_(std::move(filePath)) {}

    win::LONG OpenKey(std::string_view path, win::REGSAM access) override;
    win::LONG ListSubKeys(std::string_view path, std::vector<std::string>& names) override;
    win::LONG QueryValue(std::string_view path, std::string_view name, winreg::RegistryValue& value) override;
    win::LONG SetValue(std::string_view path, std::string_view name,
                       const winreg::RegistryValue& value) override;
    win::LONG DeleteValue(std::string_view path, std::string_view name) override;

    // Opened on first use and again after a failure, so a folder created later is picked up.
    SqliteHive* Hive();

  private:
    std::string filePath_;
    std::unique_ptr<SqliteHive> hive_;
};

}  // namespace platform_linux
