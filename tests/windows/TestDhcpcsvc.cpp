// A stand-in for the system's dhcpcsvc.dll, built beside the test executable, where LoadLibrary looks
// first: wine's own DhcpNotifyConfigChange is a stub that ends the process. It records each call's
// seven arguments and answers with the status the test chose.
#include <cstdint>
#include <string>

namespace {

struct RecordedCall {
    std::u16string serverName;
    std::u16string adapterName;
    int newIpAddress = 0;
    std::uint32_t ipIndex = 0;
    std::uint32_t ipAddress = 0;
    std::uint32_t subnetMask = 0;
    int dhcpAction = 0;
};

RecordedCall lastCall;
int calls = 0;
std::uint32_t status = 0;

}  // namespace

extern "C" {

__declspec(dllexport) std::uint32_t
    DhcpNotifyConfigChange(const char16_t* serverName, const char16_t* adapterName, int newIpAddress,
                           std::uint32_t ipIndex, std::uint32_t ipAddress, std::uint32_t subnetMask,
                           int dhcpAction) {
    lastCall = {serverName != nullptr ? serverName : u"(null)",
                adapterName != nullptr ? adapterName : u"(null)",
                newIpAddress,
                ipIndex,
                ipAddress,
                subnetMask,
                dhcpAction};
    ++calls;
    return status;
}

__declspec(dllexport) void TestDhcpSetStatus(std::uint32_t newStatus) {
    status = newStatus;
}

__declspec(dllexport) int TestDhcpCalls() {
    return calls;
}

// Writes the last call's arguments as text: "server|adapter|new|index|address|mask|action".
__declspec(dllexport) void TestDhcpLastCall(std::u16string* out) {
    auto number = [](auto value) {
        const std::string digits = std::to_string(value);
        return std::u16string(digits.begin(), digits.end());
    };
    *out = lastCall.serverName + u"|" + lastCall.adapterName + u"|" + number(lastCall.newIpAddress) + u"|" +
           number(lastCall.ipIndex) + u"|" + number(lastCall.ipAddress) + u"|" + number(lastCall.subnetMask) +
           u"|" + number(lastCall.dhcpAction);
}

}  // extern "C"
