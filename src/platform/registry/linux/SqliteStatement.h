#pragma once
// A compiled statement of the hive's connection, used once and reset for its next use when this goes out
// of scope. Texts bind and read as raw bytes: key and value names are the program's GBK.

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/KeyPath.h"
#include "platform/registry/RegistryProvider.h"

namespace platform_linux {

class SqliteStatement {
  public:
    explicit SqliteStatement(sqlite3_stmt* statement) : statement_(statement) {}
    ~SqliteStatement() {
        // A statement that could not be compiled (a damaged or foreign file) has nothing to reset, and
        // sqlite3_clear_bindings does not take a null statement.
        if (statement_ == nullptr)
            return;
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool Ok() const { return statement_ != nullptr; }
    SqliteStatement& Bind(int index, std::string_view text) {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    SqliteStatement& Bind(int index, const std::vector<std::uint8_t>& blob) {
        // A zero-length blob still binds as a blob, not as NULL.
        sqlite3_bind_blob(statement_, index, blob.empty() ? "" : static_cast<const void*>(blob.data()),
                          static_cast<int>(blob.size()), SQLITE_TRANSIENT);
        return *this;
    }
    SqliteStatement& Bind(int index, std::int64_t number) {
        sqlite3_bind_int64(statement_, index, number);
        return *this;
    }
    // A registry value into the columns lower_name, name, type and data of the hive's value tables, from
    // index first on.
    SqliteStatement& BindValue(int first, std::string_view name, const winreg::RegistryValue& value) {
        return Bind(first, winreg::LowerKeyName(name))
            .Bind(first + 1, name)
            .Bind(first + 2, static_cast<std::int64_t>(value.type))
            .Bind(first + 3, value.data);
    }
    int Step() { return statement_ == nullptr ? SQLITE_ERROR : sqlite3_step(statement_); }
    std::string Text(int column) const {
        const auto* text = sqlite3_column_text(statement_, column);
        return text == nullptr
                   ? std::string()
                   : std::string(reinterpret_cast<const char*>(text),
                                 static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
    }
    std::int64_t Int(int column) const { return sqlite3_column_int64(statement_, column); }
    std::vector<std::uint8_t> Blob(int column) const {
        const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement_, column));
        return data == nullptr ? std::vector<std::uint8_t>() : std::vector<std::uint8_t>(data, data + size);
    }

    // A registry value from its type and data columns, first and first + 1.
    winreg::RegistryValue Value(int first) const {
        return {static_cast<win::DWORD>(Int(first)), Blob(first + 1)};
    }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace platform_linux
