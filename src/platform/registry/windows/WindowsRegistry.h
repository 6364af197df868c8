#pragma once
// The registry on Windows: advapi32's ANSI calls, so names and string data are the program's GBK bytes
// wherever the system's ANSI code page is 936, as on the systems the program was made for.

#include "platform/registry/Registry.h"

namespace platform_windows {

class WindowsRegistry : public win::Registry {
  public:
    win::LONG RegOpenKeyEx(win::HKEY parent, std::string_view subKey, win::DWORD options, win::REGSAM access,
                           win::HKEY* result) override;
    win::LONG RegEnumKeyEx(win::HKEY key, win::DWORD index, char* name, win::DWORD* nameSize) override;
    win::LONG RegQueryValueEx(win::HKEY key, std::string_view valueName, win::DWORD* type, std::uint8_t* data,
                              win::DWORD* dataSize) override;
    win::LONG RegSetValueEx(win::HKEY key, std::string_view valueName, win::DWORD type,
                            const std::uint8_t* data, win::DWORD dataSize) override;
    win::LONG RegDeleteValue(win::HKEY key, std::string_view valueName) override;
    win::LONG RegCloseKey(win::HKEY key) override;
};

}  // namespace platform_windows
