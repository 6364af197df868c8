#pragma once
// The nameservers of resolv.conf, read again only when the file may have changed since the last read.
// A walk over many adapters asks for the same file once per adapter; one stat then answers.
//
// The file counts as unchanged while its device, inode, size and change and modification times are
// those of the last read. Timestamps are coarse (a clock tick, or a whole second on some file systems),
// so a write right after a read could leave them as they were: a read is kept only when the file had
// already been left alone for a while before it. A later write then carries a later time in any case.

#include <sys/stat.h>

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform_linux {

class ResolvConfServers {
  public:
    using Clock = std::function<timespec()>;  // the wall clock, as file times are kept
    explicit ResolvConfServers(Clock now = RealTime) : now_(std::move(now)) {}

    // The IPv4 servers of the file, in order; none when it does not exist. 0 or an errno value.
    int Read(const std::string& path, std::vector<std::string>& servers);

  private:
    static timespec RealTime();
    // How long a file must have been left alone for a read of it to be kept.
    static long long SettledNanoseconds(const struct stat& status);

    Clock now_;
    std::optional<struct stat> kept_;  // the file as it was when the kept servers were read
    std::string keptPath_;
    std::vector<std::string> keptServers_;
};

}  // namespace platform_linux
