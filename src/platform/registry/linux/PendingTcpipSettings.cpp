#include "platform/registry/linux/PendingTcpipSettings.h"

#include "platform/registry/KeyPath.h"
#include "platform/registry/linux/SqliteStatement.h"

namespace platform_linux {

using winreg::LowerKeyName;
using winreg::RegistryValue;

// Each call is one statement, and so one transaction of its own.

win::LONG PendingTcpipSettings::Query(std::string_view interfaceName, std::string_view valueName,
                                      RegistryValue& value) {
    SqliteStatement query(
        hive_.Prepared("SELECT type, data FROM pending_tcpip WHERE interface = ?1 AND lower_name = ?2"));
    query.Bind(1, LowerKeyName(interfaceName)).Bind(2, LowerKeyName(valueName));
    if (query.Step() != SQLITE_ROW)
        return win::ERROR_FILE_NOT_FOUND;
    value = query.Value(0);
    return win::ERROR_SUCCESS;
}

win::LONG PendingTcpipSettings::Set(std::string_view interfaceName, std::string_view valueName,
                                    const RegistryValue& value) {
    SqliteStatement upsert(
        hive_.Prepared("INSERT INTO pending_tcpip(interface, lower_name, name, type, data) "
                       "VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT(interface, lower_name) "
                       "DO UPDATE SET type = excluded.type, data = excluded.data"));
    upsert.Bind(1, LowerKeyName(interfaceName)).BindValue(2, valueName, value);
    return upsert.Step() == SQLITE_DONE ? win::ERROR_SUCCESS : win::ERROR_ACCESS_DENIED;
}

win::LONG PendingTcpipSettings::Delete(std::string_view interfaceName, std::string_view valueName) {
    SqliteStatement remove(
        hive_.Prepared("DELETE FROM pending_tcpip WHERE interface = ?1 AND lower_name = ?2"));
    remove.Bind(1, LowerKeyName(interfaceName)).Bind(2, LowerKeyName(valueName));
    if (remove.Step() != SQLITE_DONE)
        return win::ERROR_ACCESS_DENIED;
    return hive_.ChangedRows() > 0 ? win::ERROR_SUCCESS : win::ERROR_FILE_NOT_FOUND;
}

std::optional<std::string> PendingTcpipSettings::Text(std::string_view interfaceName,
                                                      std::string_view valueName) {
    RegistryValue value;
    if (Query(interfaceName, valueName, value) != win::ERROR_SUCCESS)
        return std::nullopt;
    const std::string text(value.data.begin(), value.data.end());
    return text.substr(0, text.find('\0'));
}

win::LONG PendingTcpipSettings::Clear(std::string_view interfaceName) {
    SqliteStatement remove(hive_.Prepared("DELETE FROM pending_tcpip WHERE interface = ?1"));
    return remove.Bind(1, LowerKeyName(interfaceName)).Step() == SQLITE_DONE ? win::ERROR_SUCCESS
                                                                             : win::ERROR_ACCESS_DENIED;
}

}  // namespace platform_linux
