#pragma once
// Every key path and value name the program reads or writes and the Linux home serves, spelled once.
// Paths are under HKEY_LOCAL_MACHINE. Names compare without regard to ASCII letter case; the spelling
// here is the one an enumeration shows.

#include <string_view>

namespace winreg {

// The network adapter device class, one numbered subkey per adapter:
//
//   {4d36e972-...}\0000                 DriverDesc        the adapter's model name
//                                       NetCfgInstanceID  its instance id (on Linux the interface name)
//   {4d36e972-...}\0000\Ndi\Interfaces  LowerRange        "ethernet" for a wired Ethernet adapter
inline constexpr std::string_view kAdapterClassKeyPath =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}";
inline constexpr std::string_view kDriverDescValue = "DriverDesc";
inline constexpr std::string_view kNetCfgInstanceIdValue = "NetCfgInstanceID";
inline constexpr std::string_view kNdiKeyName = "Ndi";
inline constexpr std::string_view kNdiInterfacesKeyName = "Interfaces";
inline constexpr std::string_view kNdiInterfacesKeyPath = "Ndi\\Interfaces";  // below an adapter's subkey
inline constexpr std::string_view kLowerRangeValue = "LowerRange";
// The LowerRange of an adapter a user gives an address to.
inline constexpr std::string_view kEthernetLowerRange = "ethernet";

// An adapter's TCP/IP settings, in the key named after its instance id below this one.
inline constexpr std::string_view kTcpipInterfacesKeyPath =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
inline constexpr std::string_view kIpAddressValue = "IPAddress";            // REG_MULTI_SZ
inline constexpr std::string_view kSubnetMaskValue = "SubnetMask";          // REG_MULTI_SZ
inline constexpr std::string_view kDefaultGatewayValue = "DefaultGateway";  // REG_MULTI_SZ
inline constexpr std::string_view kNameServerValue = "NameServer";          // REG_SZ, "a,b"

// Programs started at every logon: one value per program, its data the command.
inline constexpr std::string_view kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValueName = "tarnquill";

}  // namespace winreg
