#pragma once
// The WinINet calls behind WindowsInet, ANSI forms, with plain types: <windows.h> and <wininet.h> stay in
// their own file, since their macros (InternetOpen, HttpQueryInfo, DWORD, ...) clash with the program's
// Win32-shaped names. A native handle is a void*; null when an open failed.

#include <cstdint>
#include <string>

namespace platform_windows::calls {

void* InternetOpenAnsi(const std::string& agent, std::uint32_t accessType, const std::string& proxy,
                       const std::string& proxyBypass, std::uint32_t flags);
// Connect, send and receive each give up after timeoutMs: a call nobody waits for any more ends in time.
void SetInternetTimeouts(void* internet, std::uint32_t timeoutMs);
// headers holds exactly the header bytes to send; empty for none.
void* InternetOpenUrlAnsi(void* internet, const std::string& url, const std::string& headers,
                          std::uint32_t flags, std::uintptr_t context);
bool InternetReadFileAnsi(void* file, void* buffer, std::uint32_t bytesToRead, std::uint32_t& bytesRead);
bool HttpQueryInfoAnsi(void* file, std::uint32_t infoLevel, void* buffer, std::uint32_t& bufferLength,
                       std::uint32_t* index);
bool InternetCloseHandleNative(void* handle);
bool InternetCheckConnectionAnsi(const std::string& url, std::uint32_t flags);
bool InternetGetConnectedStateNative(std::uint32_t& flags);

}  // namespace platform_windows::calls
