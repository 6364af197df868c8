#pragma once
// The update check's HTTP client on Windows: WinINet's own calls, their handles kept behind the
// program's opaque HINTERNET.
//
// The calls that wait for the network (opening a URL, reading, checking a connection) give up as soon as
// the calling thread has been sent WM_CLOSE or WM_QUIT (PostThreadMessage): the worker that fetches must
// never keep the program from ending. Each transfer also ends, failed, after the transfer limit, however
// steadily the server is still sending. WinINet reads from the socket only what a read asks for, so no
// more than one read's bytes are ever held.

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/inet/Inet.h"

namespace platform_windows {

class WinInet : public win::Inet {
  public:
    static constexpr std::chrono::milliseconds kDefaultTransferLimit{30000};

    explicit WinInet(std::chrono::milliseconds transferLimit = kDefaultTransferLimit);
    ~WinInet() override;
    WinInet(const WinInet&) = delete;
    WinInet& operator=(const WinInet&) = delete;

    bool InternetCheckConnection(std::string_view url, win::DWORD flags, win::DWORD reserved) override;
    bool InternetGetConnectedState(win::DWORD* flags, win::DWORD reserved) override;
    win::HINTERNET InternetOpen(std::string_view agent, win::DWORD accessType, std::string_view proxy,
                                std::string_view proxyBypass, win::DWORD flags) override;
    win::HINTERNET InternetOpenUrl(win::HINTERNET internet, std::string_view url, std::string_view headers,
                                   win::DWORD headersLength, win::DWORD flags,
                                   std::uintptr_t context) override;
    bool InternetReadFile(win::HINTERNET file, void* buffer, win::DWORD bytesToRead,
                          win::DWORD* bytesRead) override;
    bool HttpQueryInfo(win::HINTERNET file, win::DWORD infoLevel, void* buffer, win::DWORD* bufferLength,
                       win::DWORD* index) override;
    bool InternetCloseHandle(win::HINTERNET handle) override;

    struct Handle {
        void* native = nullptr;
        std::chrono::steady_clock::time_point deadline;  // of the transfer, for a URL handle
    };

  private:
    win::HINTERNET Adopt(Handle handle);
    std::optional<Handle> Find(win::HINTERNET handle);

    std::chrono::milliseconds transferLimit_;
    std::mutex mutex_;
    std::map<win::HINTERNET, std::unique_ptr<Handle>> handles_;
};

}  // namespace platform_windows
