#pragma once
// A registry with no keys at all: every open fails as for a missing key.

#include "platform/registry/Registry.h"

namespace fakes {

class EmptyRegistry : public win::Registry {
  public:
    win::LONG RegOpenKeyEx(win::HKEY, std::string_view, win::DWORD, win::REGSAM, win::HKEY*) override {
        return win::ERROR_FILE_NOT_FOUND;
    }
    win::LONG RegEnumKeyEx(win::HKEY, win::DWORD, char*, win::DWORD*) override {
        return win::ERROR_INVALID_HANDLE;
    }
    win::LONG RegQueryValueEx(win::HKEY, std::string_view, win::DWORD*, std::uint8_t*, win::DWORD*) override {
        return win::ERROR_INVALID_HANDLE;
    }
    win::LONG RegSetValueEx(win::HKEY, std::string_view, win::DWORD, const std::uint8_t*,
                            win::DWORD) override {
        return win::ERROR_INVALID_HANDLE;
    }
    win::LONG RegDeleteValue(win::HKEY, std::string_view) override { return win::ERROR_INVALID_HANDLE; }
    win::LONG RegCloseKey(win::HKEY) override { return win::ERROR_INVALID_HANDLE; }
};

}  // namespace fakes
