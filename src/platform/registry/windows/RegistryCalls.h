#pragma once
// The advapi32 calls behind WindowsRegistry, ANSI forms, with plain types: <windows.h> stays in its own
// file (its RegOpenKeyEx macro, HKEY type and error codes clash with the program's names). A key is the
// system's handle as a pointer; results are the system's error codes.

#include <cstdint>
#include <string>

namespace platform_windows::calls {

void* LocalMachine();
std::int32_t OpenKey(void* parent, const std::string& subKey, std::uint32_t options, std::uint32_t access,
                     void** result);
std::int32_t EnumKey(void* key, std::uint32_t index, char* name, std::uint32_t* nameSize);
std::int32_t QueryValue(void* key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                        std::uint32_t* dataSize);
std::int32_t SetValue(void* key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                      std::uint32_t dataSize);
std::int32_t DeleteValue(void* key, const std::string& name);
std::int32_t CloseKey(void* key);

}  // namespace platform_windows::calls
