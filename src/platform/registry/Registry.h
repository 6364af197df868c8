#pragma once
// The six registry calls of the program, ANSI forms, with the Windows semantics it relies on: every
// call returns ERROR_SUCCESS (0) or a Windows error code, value data are raw bytes.

#include <cstdint>
#include <string_view>

#include "platform/window/WinTypes.h"

namespace win {

struct RegistryKeyObject;
using HKEY = RegistryKeyObject*;
using LONG = std::int32_t;
using REGSAM = DWORD;

// The predefined root, a sentinel value that no opened key takes.
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_BUSY = 170;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;

constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

class Registry {
  public:
    virtual ~Registry() = default;
    virtual LONG RegOpenKeyEx(HKEY parent, std::string_view subKey, DWORD options, REGSAM access,
                              HKEY* result) = 0;
    // name receives at most *nameSize characters including the NUL; *nameSize becomes the length.
    virtual LONG RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameSize) = 0;
    // A value longer than *dataSize fails with ERROR_MORE_DATA and copies nothing.
    virtual LONG RegQueryValueEx(HKEY key, std::string_view valueName, DWORD* type, std::uint8_t* data,
                                 DWORD* dataSize) = 0;
    virtual LONG RegSetValueEx(HKEY key, std::string_view valueName, DWORD type, const std::uint8_t* data,
                               DWORD dataSize) = 0;
    virtual LONG RegDeleteValue(HKEY key, std::string_view valueName) = 0;
    virtual LONG RegCloseKey(HKEY key) = 0;
};

}  // namespace win
