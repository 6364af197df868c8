#include "platform/inet/windows/InetCalls.h"

#include <windows.h>

#include <wininet.h>

namespace platform_windows::calls {
namespace {

const char* OrNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

void SetTimeout(HINTERNET internet, DWORD option, DWORD timeoutMs) {
    InternetSetOptionA(internet, option, &timeoutMs, sizeof timeoutMs);
}

}  // namespace

void* InternetOpenAnsi(const std::string& agent, std::uint32_t accessType, const std::string& proxy,
                       const std::string& proxyBypass, std::uint32_t flags) {
    return InternetOpenA(agent.c_str(), accessType, OrNull(proxy), OrNull(proxyBypass), flags);
}

void SetInternetTimeouts(void* internet, std::uint32_t timeoutMs) {
    SetTimeout(internet, INTERNET_OPTION_CONNECT_TIMEOUT, timeoutMs);
    SetTimeout(internet, INTERNET_OPTION_SEND_TIMEOUT, timeoutMs);
    SetTimeout(internet, INTERNET_OPTION_RECEIVE_TIMEOUT, timeoutMs);
}

void* InternetOpenUrlAnsi(void* internet, const std::string& url, const std::string& headers,
                          std::uint32_t flags, std::uintptr_t context) {
    return InternetOpenUrlA(internet, url.c_str(), OrNull(headers), static_cast<DWORD>(headers.size()), flags,
                            context);
}

bool InternetReadFileAnsi(void* file, void* buffer, std::uint32_t bytesToRead, std::uint32_t& bytesRead) {
    DWORD read = 0;
    const bool ok = InternetReadFile(file, buffer, bytesToRead, &read) != FALSE;
    bytesRead = read;
    return ok;
}

bool HttpQueryInfoAnsi(void* file, std::uint32_t infoLevel, void* buffer, std::uint32_t& bufferLength,
                       std::uint32_t* index) {
    DWORD length = bufferLength;
    DWORD nativeIndex = index != nullptr ? *index : 0;
    const bool ok =
        HttpQueryInfoA(file, infoLevel, buffer, &length, index != nullptr ? &nativeIndex : nullptr) != FALSE;
    bufferLength = length;
    if (index != nullptr)
        *index = nativeIndex;
    return ok;
}

bool InternetCloseHandleNative(void* handle) {
    return InternetCloseHandle(handle) != FALSE;
}

bool InternetCheckConnectionAnsi(const std::string& url, std::uint32_t flags) {
    return InternetCheckConnectionA(url.c_str(), flags, 0) != FALSE;
}

bool InternetGetConnectedStateNative(std::uint32_t& flags) {
    DWORD native = 0;
    const bool ok = InternetGetConnectedState(&native, 0) != FALSE;
    flags = native;
    return ok;
}

}  // namespace platform_windows::calls
