#pragma once
// LoadLibrary on Linux: "name" is looked for as lib<name>.so beside the executable first, so the
// program finds the libdhcpcsvc.so it ships with, then through the dynamic linker's normal search.

#include <string>

#include "platform/dhcp/DynamicLibrary.h"

namespace platform_linux {

class LinuxDynamicLibraries : public win::DynamicLibraries {
  public:
    // executableDir: where the program's own libraries lie; empty means the folder of /proc/self/exe.
    explicit LinuxDynamicLibraries(std::string executableDir = {});

    win::HMODULE LoadLibrary(std::string_view name) override;
    win::FARPROC GetProcAddress(win::HMODULE module, std::string_view procName) override;
    bool FreeLibrary(win::HMODULE module) override;

  private:
    std::string executableDir_;
};

}  // namespace platform_linux
