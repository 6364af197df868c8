#pragma once
// The TCP/IP interface keys, "...\Tcpip\Parameters\Interfaces\<interface name>". Reading a value gives
// what the program wrote there if that is still pending (PendingTcpipSettings.h: kept in the process's
// memory until our libdhcpcsvc.so puts it into effect), otherwise the interface's live IPv4 state:
//
//   IPAddress       REG_MULTI_SZ  "192.168.1.10\0192.168.7.1\0\0"  every IPv4 address, kernel order
//   SubnetMask      REG_MULTI_SZ  "255.255.255.0\0255.255.0.0\0\0"  the mask of each address
//   DefaultGateway  REG_MULTI_SZ  "192.168.1.1\0\0"                default routes through it
//   NameServer      REG_SZ        "192.168.1.1,8.8.8.8\0"           the resolver's IPv4 servers for it
//
// A key exists while its interface exists in the kernel, and has no subkeys; opening one for writing
// under a name no interface has fails as a missing key does.

#include <map>
#include <memory>
#include <string>

#include "platform/registry/RegistryProvider.h"
#include "platform/registry/linux/SqliteHive.h"

namespace platform_linux {

// Where the live values come from: the kernel (rtnetlink) in the program, a table in tests.
class InterfaceState {
  public:
    virtual ~InterfaceState() = default;
    virtual bool Exists(const std::string& interfaceName) = 0;
    virtual std::vector<std::string> Names() = 0;
    // Dotted texts; false when the interface cannot be read.
    virtual bool Ipv4(const std::string& interfaceName, std::vector<std::string>& addresses,
                      std::vector<std::string>& masks, std::vector<std::string>& gateways) = 0;
    // The DNS servers in effect for the interface, dotted, in order.
    virtual std::vector<std::string> NameServers(const std::string& interfaceName) = 0;
};

// The kernel's state of the current network namespace; name servers from the system resolver, with
// resolvConfPath where no resolver daemon serves the namespace.
std::unique_ptr<InterfaceState> MakeKernelInterfaceState(std::string resolvConfPath);

class TcpipInterfacesProvider : public winreg::RegistryProvider {
  public:
    // hivePath: the hive file whose pending values these keys show (OpenPendingStore).
    TcpipInterfacesProvider(std::unique_ptr<InterfaceState> state, std::string hivePath);

    win::LONG OpenKey(std::string_view path, win::REGSAM access) override;
    win::LONG ListSubKeys(std::string_view path, std::vector<std::string>& names) override;
    win::LONG QueryValue(std::string_view path, std::string_view name, winreg::RegistryValue& value) override;
    win::LONG SetValue(std::string_view path, std::string_view name,
                       const winreg::RegistryValue& value) override;
    win::LONG DeleteValue(std::string_view path, std::string_view name) override;

  private:
    bool LiveValue(const std::string& interfaceName, std::string_view name, winreg::RegistryValue& value);

    struct Live {
        std::vector<std::string> addresses, masks, gateways;
    };

    // The interface's pending values, read once per open of its key; nullptr when the store cannot say.
    const std::map<std::string, winreg::RegistryValue>* PendingOf(const std::string& key);
    // Opened on first use, and again after a failure.
    SqliteHive* PendingStore();

    std::unique_ptr<InterfaceState> state_;
    std::map<std::string, Live> live_;
    // By the key's name in lower case.
    std::map<std::string, std::map<std::string, winreg::RegistryValue>> pending_;
    std::string hivePath_;
    std::unique_ptr<SqliteHive> pendingStore_;
};

}  // namespace platform_linux
