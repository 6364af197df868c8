#include "platform/inet/linux/DirectConnection.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform_linux {

namespace {

using Clock = std::chrono::steady_clock;

// How long one wait lasts before stopRequested is asked again.
constexpr std::chrono::milliseconds kWaitSlice{50};

struct FreeAddresses {
    void operator()(addrinfo* addresses) const { ::freeaddrinfo(addresses); }
};
using Addresses = std::unique_ptr<addrinfo, FreeAddresses>;

// A lookup's result, shared with the thread that runs it, which may outlive the one that asked.
struct Lookup {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    Addresses addresses;
};

Addresses Resolve(const ConnectionTarget& target, Clock::time_point deadline,
                  const std::function<bool()>& stopRequested) {
    auto lookup = std::make_shared<Lookup>();
    try {
        std::thread([lookup, target] {
            addrinfo hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* found = nullptr;
            const bool resolved =
                ::getaddrinfo(target.host.c_str(), target.port.c_str(), &hints, &found) == 0;
            std::lock_guard lock(lookup->mutex);
            lookup->addresses.reset(resolved ? found : nullptr);
            lookup->done = true;
            lookup->finished.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return nullptr;  // no thread to spare: as if the name were unknown
    }
    std::unique_lock lock(lookup->mutex);
    while (!lookup->finished.wait_for(lock, kWaitSlice, [&] { return lookup->done; })) {
        if (stopRequested() || Clock::now() >= deadline)
            return nullptr;
    }
    return std::move(lookup->addresses);
}

class Socket {
  public:
    explicit Socket(const addrinfo& address)
        : fd_(::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                       address.ai_protocol)) {}
    ~Socket() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_;
};

// Whether the connection came about; false on refusal, at the deadline and when asked to stop.
bool ConnectTo(const addrinfo& address, Clock::time_point deadline,
               const std::function<bool()>& stopRequested) {
    const Socket socket(address);
    if (socket.fd() < 0)
        return false;
    if (::connect(socket.fd(), address.ai_addr, address.ai_addrlen) == 0)
        return true;
    if (errno != EINPROGRESS)
        return false;
    pollfd waiting{socket.fd(), POLLOUT, 0};
    for (;;) {
        const int ready = ::poll(&waiting, 1, static_cast<int>(kWaitSlice.count()));
        if (ready > 0)
            break;
        if ((ready < 0 && errno != EINTR) || stopRequested() || Clock::now() >= deadline)
            return false;
    }
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(socket.fd(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

}  // namespace

std::optional<ConnectionTarget> TargetOfUrl(std::string_view url) {
    const std::size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string_view::npos)
        return std::nullopt;
    const std::string_view scheme = url.substr(0, schemeEnd);
    if (scheme != "http" && scheme != "https")
        return std::nullopt;
    std::string_view authority = url.substr(schemeEnd + 3);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority = authority.substr(at + 1);
    ConnectionTarget target{"", scheme == "http" ? "80" : "443"};
    std::string_view rest;
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        target.host = authority.substr(1, close - 1);
        rest = authority.substr(close + 1);
    } else {
        const std::size_t colon = authority.find(':');
        target.host = authority.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : authority.substr(colon);
    }
    if (rest.starts_with(':') && rest.size() > 1)
        target.port = rest.substr(1);
    else if (!rest.empty() && rest != ":")
        return std::nullopt;
    if (target.host.empty())
        return std::nullopt;
    return target;
}

bool ConnectDirectly(const ConnectionTarget& target, Clock::time_point deadline,
                     const std::function<bool()>& stopRequested) {
    const Addresses addresses = Resolve(target, deadline, stopRequested);
    for (const addrinfo* address = addresses.get(); address != nullptr; address = address->ai_next) {
        if (ConnectTo(*address, deadline, stopRequested))
            return true;
        if (stopRequested() || Clock::now() >= deadline)
            return false;
    }
    return false;
}

}  // namespace platform_linux
