#pragma once
// A provider serves one subtree of HKEY_LOCAL_MACHINE for the registry router. The router mounts it
// at a key path and hands it paths relative to that mount point: components joined by '\', no leading
// or trailing separator, "" for the mount point itself, letter case as the caller wrote it. Key and
// value names compare without regard to ASCII letter case, as on Windows.
//
// Every call returns ERROR_SUCCESS or a Windows error code; nothing throws.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/Registry.h"

namespace winreg {

struct RegistryValue {
    win::DWORD type = win::REG_SZ;
    std::vector<std::uint8_t> data;
};

class RegistryProvider {
  public:
    virtual ~RegistryProvider() = default;

    // Whether the key exists and may be opened with this access: ERROR_FILE_NOT_FOUND for a missing key,
    // ERROR_ACCESS_DENIED when the access asks for rights the provider does not give (a read-only view
    // refuses KEY_SET_VALUE).
    virtual win::LONG OpenKey(std::string_view path, win::REGSAM access) = 0;
    // The key's direct subkeys in enumeration order. Called when an enumeration starts at index 0. A
    // listing that fails part-way returns the error with the names it got before it: the enumeration
    // gives those, then the error.
    virtual win::LONG ListSubKeys(std::string_view path, std::vector<std::string>& names) = 0;
    virtual win::LONG QueryValue(std::string_view path, std::string_view name, RegistryValue& value) = 0;
    virtual win::LONG SetValue(std::string_view path, std::string_view name, const RegistryValue& value) = 0;
    virtual win::LONG DeleteValue(std::string_view path, std::string_view name) = 0;
};

}  // namespace winreg
