#pragma once
// Loading a library at run time (LoadLibraryA, GetProcAddress, FreeLibrary), and the one function the
// program looks up: the DHCP client's change notification.

#include <cstdint>
#include <string_view>

#include "platform/window/WinTypes.h"

namespace win {

struct LibraryObject;
using HMODULE = LibraryObject*;
using FARPROC = void (*)();

class DynamicLibraries {
  public:
    virtual ~DynamicLibraries() = default;
    // name without an extension, as LoadLibraryA takes "dhcpcsvc". Null on failure.
    virtual HMODULE LoadLibrary(std::string_view name) = 0;
    // Null when the library exports no such function.
    virtual FARPROC GetProcAddress(HMODULE module, std::string_view procName) = 0;
    virtual bool FreeLibrary(HMODULE module) = 0;
};

// DhcpNotifyConfigChange(server, adapter name, new-address flag, address index, address, mask, DHCP
// action): addresses in network byte order as inet_addr gives them; 0 is success, anything else an error.
using DhcpNotifyConfigChangeFunction = std::uint32_t (*)(const char16_t* serverName,
                                                         const char16_t* adapterName, int newIpAddress,
                                                         std::uint32_t ipIndex, std::uint32_t ipAddress,
                                                         std::uint32_t subnetMask, int dhcpAction);

}  // namespace win
