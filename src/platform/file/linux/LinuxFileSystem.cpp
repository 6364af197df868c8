#include "platform/file/linux/LinuxFileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file/linux/ReplacementFile.h"
#include "platform/text/Gbk.h"

namespace platform_linux {
namespace {

std::string OsPath(const std::string& gbkPath) {
    return text::GbkToUtf8(gbkPath);
}

// A file descriptor closed with its owner.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }

  private:
    int fd_;
};

// A file without any write permission bit stands for the read-only attribute, which holds even for
// an administrator, as it does where the program comes from.
bool IsReadOnly(const struct stat& st) {
    return (st.st_mode & 0222) == 0;
}

bool IsRegularFile(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// The file must be writable where it stands (a read-only or locked profile file is never replaced), and
// the replacement keeps its permissions. A link in its place is refused, not written through or
// replaced: it may lead anywhere on a machine where the program runs as root.
bool MayReplace(const std::string& target, mode_t& mode) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0)
        return true;
    // O_NONBLOCK: opening a FIFO that stands in the file's place must fail, not wait for a reader.
    // Read and write, as loading opens it: a file this user may write but not read was not loaded, and
    // replacing it would lose lines the program never saw.
    Fd probe(::open(target.c_str(), O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!probe.ok() || !S_ISREG(st.st_mode) || IsReadOnly(st))
        return false;
    mode = st.st_mode & 07777;
    return true;
}

}  // namespace

// A link counts as what stands there, whatever it leads to; opening it then fails.
bool LinuxFileSystem::Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(OsPath(path).c_str(), &st) == 0;
}

std::optional<std::string> LinuxFileSystem::ReadExisting(const std::string& path) {
    // Read and write access as the profile file is opened, so a read-only file does not load.
    Fd fd(::open(OsPath(path).c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!fd.ok() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || IsReadOnly(st))
        return std::nullopt;
    // Read straight into a string of the file's size: grown block by block, a file of a megabyte was
    // copied again and again into fresh memory, which cost a start with many profiles more than the read.
    // The byte past the size shows the end of the file; a file that grows meanwhile is read whole.
    std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd.get(), bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    bytes.resize(used);
    return bytes;
}

long LinuxFileSystem::WriteSome(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

bool LinuxFileSystem::ReplaceContents(const std::string& path, const std::string& bytes) {
    const std::string target = OsPath(path);
    mode_t mode = 0644;
    if (!MayReplace(target, mode))
        return false;
    RemoveStaleReplacements(target);
    ReplacementFile replacement(target, mode);
    if (!replacement.ok())
        return false;
    bool complete = ::fchmod(replacement.fd(), mode) == 0;
    for (std::size_t done = 0; complete && done < bytes.size();) {
        const long n = WriteSome(replacement.fd(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        complete = n > 0;
        if (complete)
            done += static_cast<std::size_t>(n);
    }
    return complete && ::fsync(replacement.fd()) == 0 && replacement.Commit();
}

bool LinuxFileSystem::CreateEmpty(const std::string& path) {
    Fd fd(::open(OsPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                 0644));
    return fd.ok();
}

bool LinuxFileSystem::OpenExclusiveAndDelete(const std::string& path) {
    const std::string target = OsPath(path);
    {
        Fd fd(::open(target.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!fd.ok() || !IsRegularFile(fd.get()))
            return false;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            return false;
    }
    return ::unlink(target.c_str()) == 0;
}

}  // namespace platform_linux
