#include "platform/resolver/linux/ResolvConfServers.h"

#include <algorithm>
#include <cerrno>

#include "platform/resolver/linux/ResolvConf.h"

namespace platform_linux {

namespace {

constexpr long long kNanosecondsPerSecond = 1'000'000'000;

long long Nanoseconds(const timespec& time) {
    return static_cast<long long>(time.tv_sec) * kNanosecondsPerSecond + time.tv_nsec;
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           SameTime(a.st_mtim, b.st_mtim) && SameTime(a.st_ctim, b.st_ctim);
}

}  // namespace

timespec ResolvConfServers::RealTime() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

// Times with no fraction of a second come from a file system that keeps whole seconds (or two): three
// seconds cover them. Elsewhere a tenth of a second is ten clock ticks and more.
long long ResolvConfServers::SettledNanoseconds(const struct stat& status) {
    const bool wholeSeconds = status.st_mtim.tv_nsec == 0 && status.st_ctim.tv_nsec == 0;
    return wholeSeconds ? 3 * kNanosecondsPerSecond : kNanosecondsPerSecond / 10;
}

int ResolvConfServers::Read(const std::string& path, std::vector<std::string>& servers) {
    // The time is taken before the look at the file, so that a write after it cannot pass for settled.
    const long long now = Nanoseconds(now_());
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        const int error = errno;
        kept_.reset();
        servers.clear();
        return error == ENOENT ? 0 : error;
    }
    if (kept_ && keptPath_ == path && SameFile(*kept_, status)) {
        servers = keptServers_;
        return 0;
    }
    kept_.reset();
    std::string text;
    if (const int error = ReadResolvConf(path, text))
        return error;
    servers = ParseNameServers(text);
    const long long lastChange = std::max(Nanoseconds(status.st_mtim), Nanoseconds(status.st_ctim));
    if (lastChange < now - SettledNanoseconds(status)) {
        kept_ = status;
        keptPath_ = path;
        keptServers_ = servers;
    }
    return 0;
}

}  // namespace platform_linux
