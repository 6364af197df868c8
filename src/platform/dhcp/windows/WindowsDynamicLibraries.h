#pragma once
// LoadLibrary on Windows: the system's own search, the executable's folder first, so "dhcpcsvc" is the
// system's DHCP client library unless one lies beside the program.

#include "platform/dhcp/DynamicLibrary.h"

namespace platform_windows {

class WindowsDynamicLibraries : public win::DynamicLibraries {
  public:
    win::HMODULE LoadLibrary(std::string_view name) override;
    win::FARPROC GetProcAddress(win::HMODULE module, std::string_view procName) override;
    bool FreeLibrary(win::HMODULE module) override;
};

}  // namespace platform_windows
