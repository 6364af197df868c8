#include "platform/registry/linux/SqliteHive.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "platform/registry/KeyPath.h"
#include "platform/registry/RegistrySchema.h"
#include "platform/registry/linux/SqliteStatement.h"

namespace platform_linux {

using winreg::JoinKeyPath;
using winreg::LowerKeyName;
using winreg::RegistryValue;
using winreg::SplitKeyPath;

namespace {

// Long enough for another process's write to end (a few milliseconds), short enough that a hive held
// locked fails a switch while the user still waits on it rather than freezing the dialog.
constexpr int kBusyTimeoutMs = 1000;

// Keys are stored under their lower-case path; "" is the root. Values live in one B-tree ordered by
// key and name (WITHOUT ROWID), so writing a value changes one page rather than a table page and an
// index page: half the WAL frames per write, half as many checkpoints.
// The values the program wrote into a TCP/IP interface key and libdhcpcsvc.so has not yet put into effect
// have a table of their own, keyed by the interface key's lower-case name (PendingTcpipSettings.h); it is
// used in the hive kept in memory, and a file keeps it for its layout's sake.
const char* const kTables =
    "CREATE TABLE IF NOT EXISTS keys(path TEXT PRIMARY KEY, parent TEXT NOT NULL, name TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS key_values(key TEXT NOT NULL, lower_name TEXT NOT NULL, name TEXT NOT NULL,"
    " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, lower_name)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS pending_tcpip(interface TEXT NOT NULL, lower_name TEXT NOT NULL,"
    " name TEXT NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(interface, lower_name))"
    " WITHOUT ROWID;";
constexpr std::int64_t kLayoutVersion = 2;

// Hives written before the values moved into one B-tree (user_version 0 with a key_values table) are
// carried over on first open, every value with them: the old table is renamed, the new one made as for
// a new file, the values copied across.
const char* const kSetAsideRowidValues = "ALTER TABLE key_values RENAME TO key_values_rowid;";
const char* const kCopyRowidValues =
    "INSERT INTO key_values SELECT key, lower_name, name, type, data FROM key_values_rowid;"
    "DROP TABLE key_values_rowid;";

// Hives before the pending table (user_version 1 or less) kept pending values as values of the keys
// "...\Interfaces\<interface>"; they move to it, and the keys below the Interfaces key go (the program
// never made deeper ones). ?1 is the Interfaces key's lower-case path.
const char* const kMovePendingValues[] = {
    "INSERT OR REPLACE INTO pending_tcpip(interface, lower_name, name, type, data)"
    " SELECT substr(key, length(?1) + 2), lower_name, name, type, data FROM key_values"
    " WHERE substr(key, 1, length(?1) + 1) = ?1 || '\\'",
    "DELETE FROM key_values WHERE substr(key, 1, length(?1) + 1) = ?1 || '\\'",
    "DELETE FROM keys WHERE substr(path, 1, length(?1) + 1) = ?1 || '\\'",
};

std::string LowerPath(std::string_view path) {
    return LowerKeyName(JoinKeyPath(SplitKeyPath(path), 0));
}

// A name as it may stand in a URI's path: bytes other than letters, digits and "/._-" become %XX.
std::string UriPath(const std::string& name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string path;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool letterOrDigit =
            (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9');
        if (letterOrDigit || c == '/' || c == '.' || c == '_' || c == '-') {
            path += c;
        } else {
            path += '%';
            path += kHex[byte >> 4];
            path += kHex[byte & 0xF];
        }
    }
    return path;
}

}  // namespace

std::unique_ptr<SqliteHive> SqliteHive::OpenInMemory(const std::string& name) {
    // The memdb VFS shares a database whose name starts with "/" among the process's connections.
    const std::string uri = "file:/ostrelle-memory" + UriPath(name) + "?vfs=memdb";
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(uri.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<SqliteHive> hive(new SqliteHive(db));
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // The journal stays in memory too: a database in memory has no file beside which to keep one.
    if (!hive->Exec("PRAGMA journal_mode=MEMORY;") || !hive->SetUpSchema())
        return nullptr;
    return hive;
}

std::unique_ptr<SqliteHive> SqliteHive::Open(const std::string& filePath) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(filePath).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(filePath.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<SqliteHive> hive(new SqliteHive(db));
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // In WAL mode a commit with synchronous=NORMAL is atomic and ordered without a flush to disk of its
    // own; a power cut can lose the latest writes, never mix two of them. A new hive gets 1 KiB pages
    // (the page size counts only before the file's first write): a registry value is small, and each
    // write then appends a quarter of the bytes to the WAL and leaves less for the checkpoint to copy.
    if (!hive->Exec("PRAGMA page_size=1024;") || !hive->Exec("PRAGMA journal_mode=WAL;") ||
        !hive->Exec("PRAGMA synchronous=NORMAL;") || !hive->SetUpSchema())
        return nullptr;
    return hive;
}

// A hive of the current layout only has its tables made again should one be missing; a new file or one
// of the older layout is set up in one transaction, which a second process opening it waits for.
bool SqliteHive::SetUpSchema() {
    if (LayoutVersion() >= kLayoutVersion)
        return Exec(kTables);
    return InTransaction([this] {
        const std::int64_t layout = LayoutVersion();
        if (layout >= kLayoutVersion)
            return Exec(kTables);
        const bool rowidValues = layout < 1 && HasValuesTable();
        if ((rowidValues && !Exec(kSetAsideRowidValues)) || !Exec(kTables) ||
            (rowidValues && !Exec(kCopyRowidValues)) || !MovePendingValues())
            return false;
        const std::string version = "PRAGMA user_version = " + std::to_string(kLayoutVersion);
        return Exec(version.c_str());
    });
}

bool SqliteHive::MovePendingValues() {
    const std::string interfaces = LowerPath(winreg::kTcpipInterfacesKeyPath);
    return std::ranges::all_of(kMovePendingValues, [&](const char* sql) {
        return SqliteStatement(Prepared(sql)).Bind(1, interfaces).Step() == SQLITE_DONE;
    });
}

// Asked apart, so that the statement is reset before the upgrade: a table cannot be dropped while a
// statement still reads the schema.
bool SqliteHive::HasValuesTable() {
    SqliteStatement values(
        Prepared("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'key_values'"));
    return values.Step() == SQLITE_ROW;
}

std::int64_t SqliteHive::LayoutVersion() {
    SqliteStatement version(Prepared("PRAGMA user_version"));
    return version.Step() == SQLITE_ROW ? version.Int(0) : -1;
}

SqliteHive::~SqliteHive() {
    for (const auto& [sql, statement] : statements_)
        sqlite3_finalize(statement);
    sqlite3_close(db_);
}

// Each statement is compiled once per connection and reused: compiling costs more than running it.
sqlite3_stmt* SqliteHive::Prepared(const char* sql) {
    const auto found = statements_.find(sql);
    if (found != statements_.end())
        return found->second;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK)
        return nullptr;
    statements_.emplace(sql, statement);
    return statement;
}

bool SqliteHive::Exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// BEGIN IMMEDIATE takes the write lock up front: a second writer waits for it (busy timeout) rather than
// failing half-way through. The three statements are compiled once, like every other.
bool SqliteHive::InTransaction(const std::function<bool()>& work) {
    if (SqliteStatement(Prepared("BEGIN IMMEDIATE")).Step() != SQLITE_DONE)
        return false;
    if (work() && SqliteStatement(Prepared("COMMIT")).Step() == SQLITE_DONE)
        return true;
    SqliteStatement(Prepared("ROLLBACK")).Step();
    return false;
}

bool SqliteHive::KeyExists(std::string_view path) {
    const std::string lower = LowerPath(path);
    if (lower.empty())
        return true;
    SqliteStatement query(Prepared("SELECT 1 FROM keys WHERE path = ?1"));
    return query.Bind(1, lower).Step() == SQLITE_ROW;
}

std::vector<std::string> SqliteHive::SubKeys(std::string_view path) {
    std::vector<std::string> names;
    SqliteStatement query(Prepared("SELECT name FROM keys WHERE parent = ?1 ORDER BY rowid"));
    query.Bind(1, LowerPath(path));
    while (query.Step() == SQLITE_ROW)
        names.push_back(query.Text(0));
    return names;
}

win::LONG SqliteHive::Query(std::string_view path, std::string_view name, RegistryValue& value) {
    SqliteStatement query(Prepared("SELECT type, data FROM key_values WHERE key = ?1 AND lower_name = ?2"));
    query.Bind(1, LowerPath(path)).Bind(2, LowerKeyName(name));
    if (query.Step() != SQLITE_ROW)
        return win::ERROR_FILE_NOT_FOUND;
    value = query.Value(0);
    return win::ERROR_SUCCESS;
}

bool SqliteHive::EnsureKey(const std::vector<std::string>& components) {
    // Nearly every write goes to a key that is already there.
    if (KeyExists(JoinKeyPath(components, 0)))
        return true;
    for (std::size_t depth = 1; depth <= components.size(); ++depth) {
        const std::vector<std::string> prefix(components.begin(),
                                              components.begin() + static_cast<long>(depth));
        const std::vector<std::string> parent(components.begin(),
                                              components.begin() + static_cast<long>(depth - 1));
        SqliteStatement insert(Prepared("INSERT OR IGNORE INTO keys(path, parent, name) VALUES(?1, ?2, ?3)"));
        insert.Bind(1, LowerKeyName(JoinKeyPath(prefix, 0)))
            .Bind(2, LowerKeyName(JoinKeyPath(parent, 0)))
            .Bind(3, components[depth - 1]);
        if (insert.Step() != SQLITE_DONE)
            return false;
    }
    return true;
}

win::LONG SqliteHive::Set(std::string_view path, std::string_view name, const RegistryValue& value) {
    const bool written = InTransaction([&] {
        SqliteStatement upsert(Prepared(
            "INSERT INTO key_values(key, lower_name, name, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
            "ON CONFLICT(key, lower_name) DO UPDATE SET type = excluded.type, data = excluded.data"));
        upsert.Bind(1, LowerPath(path)).BindValue(2, name, value);
        return EnsureKey(SplitKeyPath(path)) && upsert.Step() == SQLITE_DONE;
    });
    return written ? win::ERROR_SUCCESS : win::ERROR_ACCESS_DENIED;
}

win::LONG SqliteHive::Delete(std::string_view path, std::string_view name) {
    SqliteStatement remove(Prepared("DELETE FROM key_values WHERE key = ?1 AND lower_name = ?2"));
    remove.Bind(1, LowerPath(path)).Bind(2, LowerKeyName(name));
    if (remove.Step() != SQLITE_DONE)
        return win::ERROR_ACCESS_DENIED;
    return ChangedRows() > 0 ? win::ERROR_SUCCESS : win::ERROR_FILE_NOT_FOUND;
}

int SqliteHive::ChangedRows() const {
    return sqlite3_changes(db_);
}

win::LONG SqliteHive::CreateKey(std::string_view path) {
    const bool created = InTransaction([&] { return EnsureKey(SplitKeyPath(path)); });
    return created ? win::ERROR_SUCCESS : win::ERROR_ACCESS_DENIED;
}

// A connection to a file deleted or replaced since it was opened would write where no other process
// reads (libdhcpcsvc.so opens the file at the path): the file now at the path is opened instead.
SqliteHive* HiveConnection::Get() {
    struct stat file {};
    const bool present = ::stat(filePath_.c_str(), &file) == 0;
    if (hive_ && present && file.st_dev == device_ && file.st_ino == inode_)
        return hive_.get();
    hive_ = SqliteHive::Open(filePath_);
    if (hive_ && ::stat(filePath_.c_str(), &file) == 0) {
        device_ = file.st_dev;
        inode_ = file.st_ino;
    }
    return hive_.get();
}

win::LONG HiveProvider::OpenKey(std::string_view path, win::REGSAM access) {
    SqliteHive* hive = hive_.Get();
    if (hive == nullptr) {
        return (access & win::KEY_SET_VALUE) != 0 ? win::ERROR_ACCESS_DENIED : win::ERROR_FILE_NOT_FOUND;
    }
    return hive->KeyExists(path) ? win::ERROR_SUCCESS : win::ERROR_FILE_NOT_FOUND;
}

// A hive that cannot be opened holds no keys: the mount points below the key are its subkeys still.
win::LONG HiveProvider::ListSubKeys(std::string_view path, std::vector<std::string>& names) {
    SqliteHive* hive = hive_.Get();
    if (hive == nullptr)
        return win::ERROR_SUCCESS;
    for (std::string& name : hive->SubKeys(path))
        names.push_back(std::move(name));
    return win::ERROR_SUCCESS;
}

win::LONG HiveProvider::QueryValue(std::string_view path, std::string_view name, RegistryValue& value) {
    SqliteHive* hive = hive_.Get();
    return hive == nullptr ? win::ERROR_FILE_NOT_FOUND : hive->Query(path, name, value);
}

win::LONG HiveProvider::SetValue(std::string_view path, std::string_view name, const RegistryValue& value) {
    SqliteHive* hive = hive_.Get();
    return hive == nullptr ? win::ERROR_ACCESS_DENIED : hive->Set(path, name, value);
}

win::LONG HiveProvider::DeleteValue(std::string_view path, std::string_view name) {
    SqliteHive* hive = hive_.Get();
    return hive == nullptr ? win::ERROR_ACCESS_DENIED : hive->Delete(path, name);
}

}  // namespace platform_linux
