#pragma once
// The WinINet calls of the update check, ANSI forms, with the Windows semantics the program relies on:
// handles are opaque, a failed open returns null, a read returns true with 0 bytes at the end of the body.

#include <cstdint>
#include <string_view>

#include "platform/window/WinTypes.h"

namespace win {

struct InternetObject;
using HINTERNET = InternetObject*;

constexpr DWORD FLAG_ICC_FORCE_CONNECTION = 0x00000001;

// InternetGetConnectedState flags.
constexpr DWORD INTERNET_CONNECTION_MODEM = 0x01;
constexpr DWORD INTERNET_CONNECTION_LAN = 0x02;
constexpr DWORD INTERNET_CONNECTION_PROXY = 0x04;

// InternetOpen access types.
constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;
constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY = 4;

// InternetOpenUrl flags.
constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;
constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;
constexpr DWORD INTERNET_FLAG_PRAGMA_NOCACHE = 0x00000100;

// HttpQueryInfo levels.
constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
constexpr DWORD HTTP_QUERY_FLAG_NUMBER = 0x20000000;

class Inet {
  public:
    virtual ~Inet() = default;
    // Whether a connection to the URL's server can be made at all.
    virtual bool InternetCheckConnection(std::string_view url, DWORD flags, DWORD reserved) = 0;
    virtual bool InternetGetConnectedState(DWORD* flags, DWORD reserved) = 0;
    virtual HINTERNET InternetOpen(std::string_view agent, DWORD accessType, std::string_view proxy,
                                   std::string_view proxyBypass, DWORD flags) = 0;
    // headers: CR LF separated lines, of which the first headersLength bytes count.
    virtual HINTERNET InternetOpenUrl(HINTERNET internet, std::string_view url, std::string_view headers,
                                      DWORD headersLength, DWORD flags, std::uintptr_t context) = 0;
    // Reads at most bytesToRead bytes of the body; *bytesRead is 0 at its end.
    virtual bool InternetReadFile(HINTERNET file, void* buffer, DWORD bytesToRead, DWORD* bytesRead) = 0;
    // A field of the response to a URL handle. With HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER the
    // final response's status (after redirects) is written as a DWORD; *bufferLength is the buffer's
    // size in bytes, then the bytes written. False when the field is unknown or the buffer too small.
    virtual bool HttpQueryInfo(HINTERNET file, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                               DWORD* index) = 0;
    virtual bool InternetCloseHandle(HINTERNET handle) = 0;
};

}  // namespace win
