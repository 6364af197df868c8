#include "fakes/FakeDynamicLibraries.h"

namespace fakes {

namespace {

// The function pointer carries no object: the one live fake takes the calls.
FakeDynamicLibraries* current = nullptr;
int moduleToken = 0;

std::uint32_t RecordingNotify(const char16_t* serverName, const char16_t* adapterName, int newIpAddress,
                              std::uint32_t ipIndex, std::uint32_t ipAddress, std::uint32_t subnetMask,
                              int dhcpAction) {
    NotifyCall call;
    call.serverNameNull = serverName == nullptr;
    if (adapterName != nullptr) {
        call.adapterNameBuffer.assign(adapterName, adapterName + 256);
        call.adapterName = std::u16string(adapterName);
    }
    call.newIpAddress = newIpAddress;
    call.ipIndex = ipIndex;
    call.ipAddress = ipAddress;
    call.subnetMask = subnetMask;
    call.dhcpAction = dhcpAction;
    current->calls.push_back(call);
    return current->status;
}

}  // namespace

FakeDynamicLibraries::FakeDynamicLibraries() {
    current = this;
}

FakeDynamicLibraries::~FakeDynamicLibraries() {
    if (current == this)
        current = nullptr;
}

win::HMODULE FakeDynamicLibraries::LoadLibrary(std::string_view name) {
    loadedNames.emplace_back(name);
    if (failLoad || name != "dhcpcsvc")
        return nullptr;
    ++loads;
    return reinterpret_cast<win::HMODULE>(&moduleToken);
}

win::FARPROC FakeDynamicLibraries::GetProcAddress(win::HMODULE module, std::string_view procName) {
    if (module != reinterpret_cast<win::HMODULE>(&moduleToken) || missingFunction)
        return nullptr;
    if (procName != "DhcpNotifyConfigChange")
        return nullptr;
    current = this;
    return reinterpret_cast<win::FARPROC>(&RecordingNotify);
}

bool FakeDynamicLibraries::FreeLibrary(win::HMODULE module) {
    if (module != reinterpret_cast<win::HMODULE>(&moduleToken))
        return false;
    ++frees;
    return true;
}

}  // namespace fakes
