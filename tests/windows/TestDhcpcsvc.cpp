// A stand-in for the system's dhcpcsvc.dll, built beside the test executable, where LoadLibrary looks
// first: wine's own DhcpNotifyConfigChange is a stub that ends the process. It records each call's
// seven arguments and answers with the status the test chose.
#include <cstdint>
#include <cstdlib>
#include <fstream>
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

std::string Narrow(const std::u16string& text) {
    std::string narrow;
    for (char16_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

// A test that runs the program as a process of its own cannot ask this copy: when the environment
// names a file, each call is also appended to it as "adapter|new|index|address|mask|action".
void AppendToLog(const RecordedCall& call) {
    const char* path = std::getenv("OSTRELLE_TEST_DHCP_LOG");
    if (path == nullptr)
        return;
    std::ofstream(path, std::ios::app | std::ios::binary)
        << Narrow(call.adapterName) << '|' << call.newIpAddress << '|' << call.ipIndex << '|'
        << call.ipAddress << '|' << call.subnetMask << '|' << call.dhcpAction << '\n';
}

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
    AppendToLog(lastCall);
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
