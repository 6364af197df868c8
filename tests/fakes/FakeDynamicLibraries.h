#pragma once
// Libraries for the notification without a shared object: "dhcpcsvc" loads unless told otherwise, its
// DhcpNotifyConfigChange records every call and answers with the status the test chose. Loads and
// frees are counted so a test can see that no handle outlives a call.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dhcp/DynamicLibrary.h"

namespace fakes {

struct NotifyCall {
    bool serverNameNull = false;
    std::u16string adapterName;               // up to the NUL
    std::vector<char16_t> adapterNameBuffer;  // all 256 units the callee may read
    int newIpAddress = 0;
    std::uint32_t ipIndex = 0;
    std::uint32_t ipAddress = 0;
    std::uint32_t subnetMask = 0;
    int dhcpAction = 0;
};

class FakeDynamicLibraries : public win::DynamicLibraries {
  public:
    FakeDynamicLibraries();
    ~FakeDynamicLibraries() override;

    win::HMODULE LoadLibrary(std::string_view name) override;
    win::FARPROC GetProcAddress(win::HMODULE module, std::string_view procName) override;
    bool FreeLibrary(win::HMODULE module) override;

    bool failLoad = false;
    bool missingFunction = false;
    std::uint32_t status = 0;

    std::vector<std::string> loadedNames;
    int loads = 0;
    int frees = 0;
    std::vector<NotifyCall> calls;
};

}  // namespace fakes
