#pragma once
// The settings a switch hands from the program to libdhcpcsvc.so. On Windows the program writes
// IPAddress, SubnetMask, DefaultGateway and NameServer into the adapter's TCP/IP key and then calls
// DhcpNotifyConfigChange, and the DHCP client puts the key's values into effect. On Linux that key is a
// view of the kernel's state (TcpipInterfacesProvider), so what the program writes there is kept here,
// pending, and reads of the key return it in place of the live values. Our libdhcpcsvc.so, a second
// binary loaded into the program, reads the pending DefaultGateway and NameServer, puts them into effect
// with the address and mask it was called with (rtnetlink and the resolver) and then clears the
// interface's pending values, so that reads show the kernel's state again. A notification that fails
// clears them too: values that never took effect are not the adapter's settings.
//
// Both find the values in a store in the process's memory (OpenPendingStore), named after the hive
// file's path (both take it from OSTRELLE_HIVE_PATH, LinuxRoots.h): a switch writes and reads it with no
// file to lock or write, and values pending when the process ends, which never took effect, end with it.
//
// Interfaces are named by their TCP/IP key's name as the program spells it (GBK), values by their
// registry names; both compare without regard to ASCII letter case. Every call returns ERROR_SUCCESS or
// a Windows error code.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/RegistryProvider.h"
#include "platform/registry/linux/SqliteHive.h"

namespace platform_linux {

// The store of the pending settings for the hive at hivePath. Null when it cannot be opened.
std::unique_ptr<SqliteHive> OpenPendingStore(const std::string& hivePath);

class PendingTcpipSettings {
  public:
    explicit PendingTcpipSettings(SqliteHive& hive) : hive_(hive) {}

    // ERROR_FILE_NOT_FOUND when the value is not pending.
    win::LONG Query(std::string_view interfaceName, std::string_view valueName, winreg::RegistryValue& value);
    // Every pending value of the interface, by its name in lower case, in one read of the hive.
    win::LONG QueryAll(std::string_view interfaceName, std::map<std::string, winreg::RegistryValue>& values);
    win::LONG Set(std::string_view interfaceName, std::string_view valueName,
                  const winreg::RegistryValue& value);
    win::LONG Delete(std::string_view interfaceName, std::string_view valueName);
    // A pending value's text up to its first NUL (a multi-string's first element); nothing when the value
    // is not pending. ReadText tells a value that is not pending (ERROR_SUCCESS, no text) from a hive
    // that could not be read (ERROR_BUSY while another process holds it locked).
    win::LONG ReadText(std::string_view interfaceName, std::string_view valueName,
                       std::optional<std::string>& text);
    // The same for the interface's pending DefaultGateway and NameServer, read together.
    win::LONG ReadGatewayAndNameServer(std::string_view interfaceName, std::optional<std::string>& gateway,
                                       std::optional<std::string>& nameServer);
    std::optional<std::string> Text(std::string_view interfaceName, std::string_view valueName);
    // Ends every pending value of the interface, once they are in effect.
    win::LONG Clear(std::string_view interfaceName);

  private:
    SqliteHive& hive_;
};

}  // namespace platform_linux
