#include "platform/registry/windows/RegistryCalls.h"

#include <windows.h>

namespace platform_windows::calls {
namespace {

HKEY Native(void* key) {
    return static_cast<HKEY>(key);
}

}  // namespace

void* LocalMachine() {
    return HKEY_LOCAL_MACHINE;
}

std::int32_t OpenKey(void* parent, const std::string& subKey, std::uint32_t options, std::uint32_t access,
                     void** result) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(Native(parent), subKey.c_str(), options, access, &opened);
    *result = status == ERROR_SUCCESS ? opened : nullptr;
    return status;
}

std::int32_t EnumKey(void* key, std::uint32_t index, char* name, std::uint32_t* nameSize) {
    DWORD size = *nameSize;
    const LONG status = RegEnumKeyExA(Native(key), index, name, &size, nullptr, nullptr, nullptr, nullptr);
    *nameSize = size;
    return status;
}

std::int32_t QueryValue(void* key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                        std::uint32_t* dataSize) {
    DWORD valueType = 0;
    DWORD size = dataSize != nullptr ? *dataSize : 0;
    const LONG status = RegQueryValueExA(Native(key), name.c_str(), nullptr, &valueType, data,
                                         dataSize != nullptr ? &size : nullptr);
    if (type != nullptr)
        *type = valueType;
    if (dataSize != nullptr)
        *dataSize = size;
    return status;
}

std::int32_t SetValue(void* key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                      std::uint32_t dataSize) {
    return RegSetValueExA(Native(key), name.c_str(), 0, type, data, dataSize);
}

std::int32_t DeleteValue(void* key, const std::string& name) {
    return RegDeleteValueA(Native(key), name.c_str());
}

std::int32_t CloseKey(void* key) {
    return RegCloseKey(Native(key));
}

}  // namespace platform_windows::calls
