#include "platform/inet/windows/WinInet.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/inet/windows/AbandonableCall.h"
#include "platform/inet/windows/InetCalls.h"
#include "platform/system/windows/WindowsSystem.h"

namespace platform_windows {

bool CloseRequested() {
    thread_local bool closing = false;
    ThreadMessage message;
    while (PeekThreadMessage(message)) {
        if (message.message == win::WM_CLOSE || message.message == win::WM_QUIT)
            closing = true;
    }
    return closing;
}

namespace {

struct ReadResult {
    bool ok = false;
    std::vector<char> bytes;
};

void CloseNative(void*& native) {
    if (native != nullptr)
        calls::InternetCloseHandleNative(native);
}

}  // namespace

WinInet::WinInet(std::chrono::milliseconds transferLimit) : transferLimit_(transferLimit) {}

// Handles the program did not close are closed with it; children first, as their sessions outlive them.
WinInet::~WinInet() {
    for (auto it = handles_.rbegin(); it != handles_.rend(); ++it)
        CloseNative(it->second->native);
}

win::HINTERNET WinInet::Adopt(Handle handle) {
    auto owned = std::make_unique<Handle>(handle);
    auto* opaque = reinterpret_cast<win::HINTERNET>(owned.get());
    std::lock_guard lock(mutex_);
    handles_.emplace(opaque, std::move(owned));
    return opaque;
}

std::optional<WinInet::Handle> WinInet::Find(win::HINTERNET handle) {
    std::lock_guard lock(mutex_);
    const auto it = handles_.find(handle);
    if (it == handles_.end())
        return std::nullopt;
    return *it->second;
}

bool WinInet::InternetCheckConnection(std::string_view url, win::DWORD flags, win::DWORD /*reserved*/) {
    std::optional<bool> connected = RunAbandonable<bool>(
        [url = std::string(url), flags] { return calls::InternetCheckConnectionAnsi(url, flags); },
        [](bool&) {}, std::chrono::steady_clock::now() + transferLimit_);
    return connected.value_or(false);
}

bool WinInet::InternetGetConnectedState(win::DWORD* flags, win::DWORD /*reserved*/) {
    std::uint32_t state = 0;
    const bool connected = calls::InternetGetConnectedStateNative(state);
    if (flags != nullptr)
        *flags = state;
    return connected;
}

win::HINTERNET WinInet::InternetOpen(std::string_view agent, win::DWORD accessType, std::string_view proxy,
                                     std::string_view proxyBypass, win::DWORD flags) {
    void* native = calls::InternetOpenAnsi(std::string(agent), accessType, std::string(proxy),
                                           std::string(proxyBypass), flags);
    if (native == nullptr)
        return nullptr;
    // A call the program stopped waiting for still holds its thread until WinINet gives up on it.
    calls::SetInternetTimeouts(native, static_cast<std::uint32_t>(transferLimit_.count()));
    return Adopt({native, {}});
}

win::HINTERNET WinInet::InternetOpenUrl(win::HINTERNET internet, std::string_view url,
                                        std::string_view headers, win::DWORD headersLength, win::DWORD flags,
                                        std::uintptr_t context) {
    const std::optional<Handle> session = Find(internet);
    if (!session)
        return nullptr;
    const auto deadline = std::chrono::steady_clock::now() + transferLimit_;
    std::string headerBytes(headers.substr(0, std::min<std::size_t>(headersLength, headers.size())));
    std::optional<void*> native = RunAbandonable<void*>(
        [session = session->native, url = std::string(url), headerBytes = std::move(headerBytes), flags,
         context] { return calls::InternetOpenUrlAnsi(session, url, headerBytes, flags, context); },
        CloseNative, deadline);
    if (!native || *native == nullptr)
        return nullptr;
    return Adopt({*native, deadline});
}

bool WinInet::InternetReadFile(win::HINTERNET file, void* buffer, win::DWORD bytesToRead,
                               win::DWORD* bytesRead) {
    const std::optional<Handle> request = Find(file);
    if (!request || bytesRead == nullptr)
        return false;
    *bytesRead = 0;
    std::optional<ReadResult> read = RunAbandonable<ReadResult>(
        [native = request->native, bytesToRead] {
            ReadResult result;
            result.bytes.resize(bytesToRead);
            std::uint32_t n = 0;
            result.ok = calls::InternetReadFileAnsi(native, result.bytes.data(), bytesToRead, n);
            result.bytes.resize(result.ok ? n : 0);
            return result;
        },
        [](ReadResult&) {}, request->deadline);
    if (!read || !read->ok)
        return false;
    std::copy(read->bytes.begin(), read->bytes.end(), static_cast<char*>(buffer));
    *bytesRead = static_cast<win::DWORD>(read->bytes.size());
    return true;
}

bool WinInet::HttpQueryInfo(win::HINTERNET file, win::DWORD infoLevel, void* buffer, win::DWORD* bufferLength,
                            win::DWORD* index) {
    const std::optional<Handle> request = Find(file);
    if (!request || bufferLength == nullptr)
        return false;
    return calls::HttpQueryInfoAnsi(request->native, infoLevel, buffer, *bufferLength, index);
}

// Closing a handle a call left behind still uses makes that call fail at once.
bool WinInet::InternetCloseHandle(win::HINTERNET handle) {
    std::unique_ptr<Handle> owned;
    {
        std::lock_guard lock(mutex_);
        const auto it = handles_.find(handle);
        if (it == handles_.end())
            return false;
        owned = std::move(it->second);
        handles_.erase(it);
    }
    return calls::InternetCloseHandleNative(owned->native);
}

}  // namespace platform_windows
