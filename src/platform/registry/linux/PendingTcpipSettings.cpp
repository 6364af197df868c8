#include "platform/registry/linux/PendingTcpipSettings.h"

#include "platform/registry/KeyPath.h"
#include "platform/registry/RegistrySchema.h"
#include "platform/registry/linux/SqliteStatement.h"

namespace platform_linux {

using winreg::LowerKeyName;
using winreg::RegistryValue;

// Each call is one statement, and so one transaction of its own.

namespace {

// A hive another process holds locked past the busy timeout is told apart from one that refuses the
// write, so that the user hears to try again rather than that a right is missing.
win::LONG FailureOf(int result) {
    return result == SQLITE_BUSY || result == SQLITE_LOCKED ? win::ERROR_BUSY : win::ERROR_ACCESS_DENIED;
}

}  // namespace

std::unique_ptr<SqliteHive> OpenPendingStore(const std::string& hivePath) {
    return SqliteHive::OpenInMemory("/pending-tcpip" + hivePath);
}

win::LONG PendingTcpipSettings::Query(std::string_view interfaceName, std::string_view valueName,
                                      RegistryValue& value) {
    SqliteStatement query(
        hive_.Prepared("SELECT type, data FROM pending_tcpip WHERE interface = ?1 AND lower_name = ?2"));
    query.Bind(1, LowerKeyName(interfaceName)).Bind(2, LowerKeyName(valueName));
    const int result = query.Step();
    if (result == SQLITE_DONE)
        return win::ERROR_FILE_NOT_FOUND;
    if (result != SQLITE_ROW)
        return FailureOf(result);
    value = query.Value(0);
    return win::ERROR_SUCCESS;
}

win::LONG PendingTcpipSettings::QueryAll(std::string_view interfaceName,
                                         std::map<std::string, RegistryValue>& values) {
    values.clear();
    SqliteStatement query(
        hive_.Prepared("SELECT lower_name, type, data FROM pending_tcpip WHERE interface = ?1"));
    query.Bind(1, LowerKeyName(interfaceName));
    int result = SQLITE_ROW;
    while ((result = query.Step()) == SQLITE_ROW)
        values[query.Text(0)] = query.Value(1);
    if (result == SQLITE_DONE)
        return win::ERROR_SUCCESS;
    values.clear();
    return FailureOf(result);
}

win::LONG PendingTcpipSettings::Set(std::string_view interfaceName, std::string_view valueName,
                                    const RegistryValue& value) {
    SqliteStatement upsert(
        hive_.Prepared("INSERT INTO pending_tcpip(interface, lower_name, name, type, data) "
                       "VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT(interface, lower_name) "
                       "DO UPDATE SET type = excluded.type, data = excluded.data"));
    upsert.Bind(1, LowerKeyName(interfaceName)).BindValue(2, valueName, value);
    const int result = upsert.Step();
    return result == SQLITE_DONE ? win::ERROR_SUCCESS : FailureOf(result);
}

win::LONG PendingTcpipSettings::Delete(std::string_view interfaceName, std::string_view valueName) {
    SqliteStatement remove(
        hive_.Prepared("DELETE FROM pending_tcpip WHERE interface = ?1 AND lower_name = ?2"));
    remove.Bind(1, LowerKeyName(interfaceName)).Bind(2, LowerKeyName(valueName));
    if (const int result = remove.Step(); result != SQLITE_DONE)
        return FailureOf(result);
    return hive_.ChangedRows() > 0 ? win::ERROR_SUCCESS : win::ERROR_FILE_NOT_FOUND;
}

win::LONG PendingTcpipSettings::ReadText(std::string_view interfaceName, std::string_view valueName,
                                         std::optional<std::string>& text) {
    text.reset();
    RegistryValue value;
    const win::LONG error = Query(interfaceName, valueName, value);
    if (error == win::ERROR_FILE_NOT_FOUND)
        return win::ERROR_SUCCESS;
    if (error != win::ERROR_SUCCESS)
        return error;
    const std::string data(value.data.begin(), value.data.end());
    text = data.substr(0, data.find('\0'));
    return win::ERROR_SUCCESS;
}

win::LONG PendingTcpipSettings::ReadGatewayAndNameServer(std::string_view interfaceName,
                                                         std::optional<std::string>& gateway,
                                                         std::optional<std::string>& nameServer) {
    gateway.reset();
    nameServer.reset();
    std::map<std::string, RegistryValue> values;
    if (const win::LONG error = QueryAll(interfaceName, values))
        return error;
    const auto textOf = [&](std::string_view name, std::optional<std::string>& text) {
        const auto found = values.find(LowerKeyName(name));
        if (found == values.end())
            return;
        const std::string data(found->second.data.begin(), found->second.data.end());
        text = data.substr(0, data.find('\0'));
    };
    textOf(winreg::kDefaultGatewayValue, gateway);
    textOf(winreg::kNameServerValue, nameServer);
    return win::ERROR_SUCCESS;
}

std::optional<std::string> PendingTcpipSettings::Text(std::string_view interfaceName,
                                                      std::string_view valueName) {
    std::optional<std::string> text;
    ReadText(interfaceName, valueName, text);
    return text;
}

win::LONG PendingTcpipSettings::Clear(std::string_view interfaceName) {
    SqliteStatement remove(hive_.Prepared("DELETE FROM pending_tcpip WHERE interface = ?1"));
    const int result = remove.Bind(1, LowerKeyName(interfaceName)).Step();
    return result == SQLITE_DONE ? win::ERROR_SUCCESS : FailureOf(result);
}

}  // namespace platform_linux
