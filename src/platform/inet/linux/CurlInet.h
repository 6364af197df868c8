#pragma once
// The update check's HTTP client on Linux: libcurl driven step by step, so that opening a URL returns once
// the response has begun and each read takes only what is needed, as the WinINet calls do. The
// environment's proxy variables (http_proxy, all_proxy, no_proxy) stand for the system's proxy settings.
// The connection check sends nothing and makes a plain connection itself (DirectConnection.h), so libcurl
// is loaded only once something is fetched.
//
// A transfer waits for the network in short polls and gives up as soon as the calling thread has been
// sent WM_CLOSE or WM_QUIT (PostThreadMessage): the worker that fetches must never keep the program from
// ending. The worker's queue is the one System::CreateThread gave it.
//
// Neither a server that never stops sending nor one that trickles may hold the worker for long: each
// transfer ends, failed, after the transfer limit, and a URL handle holds at most kMaxHeldBody bytes
// that were received and not yet read (the transfer waits until they are).

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/inet/Inet.h"

namespace platform_linux {

// The header lines a request carries: the caller's lines (the first headersLength bytes of headers, CR LF
// separated, empty lines dropped) and the no-cache lines the flags ask for. Pragma reaches HTTP/1.0
// caches and proxies, Cache-Control the HTTP/1.1 ones.
std::vector<std::string> RequestHeaderLines(std::string_view headers, win::DWORD headersLength,
                                            win::DWORD flags);

// Whether the environment names a proxy for plain HTTP.
bool EnvironmentHasProxy();

class CurlInet : public win::Inet {
  public:
    static constexpr std::size_t kMaxHeldBody = 65536;
    static constexpr std::chrono::milliseconds kDefaultTransferLimit{30000};

    explicit CurlInet(std::chrono::milliseconds transferLimit = kDefaultTransferLimit);
    ~CurlInet() override;
    CurlInet(const CurlInet&) = delete;
    CurlInet& operator=(const CurlInet&) = delete;

    bool InternetCheckConnection(std::string_view url, win::DWORD flags, win::DWORD reserved) override;
    bool InternetGetConnectedState(win::DWORD* flags, win::DWORD reserved) override;
    win::HINTERNET InternetOpen(std::string_view agent, win::DWORD accessType, std::string_view proxy,
                                std::string_view proxyBypass, win::DWORD flags) override;
    win::HINTERNET InternetOpenUrl(win::HINTERNET internet, std::string_view url, std::string_view headers,
                                   win::DWORD headersLength, win::DWORD flags,
                                   std::uintptr_t context) override;
    bool InternetReadFile(win::HINTERNET file, void* buffer, win::DWORD bytesToRead,
                          win::DWORD* bytesRead) override;
    // Knows the status code only.
    bool HttpQueryInfo(win::HINTERNET file, win::DWORD infoLevel, void* buffer, win::DWORD* bufferLength,
                       win::DWORD* index) override;
    bool InternetCloseHandle(win::HINTERNET handle) override;

    // The bytes a URL handle holds, received and not yet read; 0 for any other handle.
    std::size_t HeldBodyBytes(win::HINTERNET file);

    struct Handle;

  private:
    win::HINTERNET Adopt(std::unique_ptr<Handle> handle);
    template <class T>
    T* Find(win::HINTERNET handle);

    std::chrono::milliseconds transferLimit_;
    std::mutex mutex_;
    std::map<win::HINTERNET, std::unique_ptr<Handle>> handles_;
};

}  // namespace platform_linux
