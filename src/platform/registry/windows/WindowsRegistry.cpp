#include "platform/registry/windows/WindowsRegistry.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/registry/windows/RegistryCalls.h"

namespace platform_windows {
namespace {

// The program's HKEY_LOCAL_MACHINE is a sentinel of its own; any other key is the system's handle.
void* Native(win::HKEY key) {
    return key == win::HKEY_LOCAL_MACHINE ? calls::LocalMachine() : static_cast<void*>(key);
}

}  // namespace

win::LONG WindowsRegistry::RegOpenKeyEx(win::HKEY parent, std::string_view subKey, win::DWORD options,
                                        win::REGSAM access, win::HKEY* result) {
    void* opened = nullptr;
    const win::LONG status = calls::OpenKey(Native(parent), std::string(subKey), options, access, &opened);
    *result = static_cast<win::HKEY>(opened);
    return status;
}

win::LONG WindowsRegistry::RegEnumKeyEx(win::HKEY key, win::DWORD index, char* name, win::DWORD* nameSize) {
    return calls::EnumKey(Native(key), index, name, nameSize);
}

// The system may fill a buffer that is too small before it says ERROR_MORE_DATA; the program is promised
// its buffer untouched then, so the value is read into one of the same size first.
win::LONG WindowsRegistry::RegQueryValueEx(win::HKEY key, std::string_view valueName, win::DWORD* type,
                                           std::uint8_t* data, win::DWORD* dataSize) {
    if (data == nullptr)
        return calls::QueryValue(Native(key), std::string(valueName), type, nullptr, dataSize);
    if (dataSize == nullptr)
        return win::ERROR_INVALID_PARAMETER;
    std::vector<std::uint8_t> buffer(*dataSize);
    win::DWORD size = *dataSize;
    const win::LONG status =
        calls::QueryValue(Native(key), std::string(valueName), type, buffer.data(), &size);
    if (status == win::ERROR_SUCCESS)
        std::copy(buffer.begin(), buffer.begin() + size, data);
    *dataSize = size;
    return status;
}

win::LONG WindowsRegistry::RegSetValueEx(win::HKEY key, std::string_view valueName, win::DWORD type,
                                         const std::uint8_t* data, win::DWORD dataSize) {
    return calls::SetValue(Native(key), std::string(valueName), type, data, dataSize);
}

win::LONG WindowsRegistry::RegDeleteValue(win::HKEY key, std::string_view valueName) {
    return calls::DeleteValue(Native(key), std::string(valueName));
}

win::LONG WindowsRegistry::RegCloseKey(win::HKEY key) {
    if (key == win::HKEY_LOCAL_MACHINE)
        return win::ERROR_SUCCESS;
    return calls::CloseKey(Native(key));
}

}  // namespace platform_windows
