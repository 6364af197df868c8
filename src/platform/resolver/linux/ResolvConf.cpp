#include "platform/resolver/linux/ResolvConf.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <sstream>

namespace platform_linux {

namespace {

// The address of an IPv4 "nameserver" line; empty for any other line.
std::string Ipv4NameServerOf(const std::string& line) {
    std::istringstream words(line);
    std::string keyword, address;
    in_addr parsed{};
    if (words >> keyword >> address && keyword == "nameserver" &&
        ::inet_pton(AF_INET, address.c_str(), &parsed) == 1) {
        return address;
    }
    return {};
}

bool IsNameServerLine(const std::string& line) {
    std::istringstream words(line);
    std::string keyword;
    return words >> keyword && keyword == "nameserver";
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    // close's own error counts: on some file systems a failed write shows only there.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

  private:
    int fd_;
};

int WriteAll(int fd, const std::string& text, off_t offset) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written =
            ::pwrite(fd, text.data() + done, text.size() - done, offset + static_cast<off_t>(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

// A mount point cannot be replaced, only rewritten. The new text goes in with one write, padded with
// empty lines to the old length, and the file is cut after: a crash between the two leaves the new
// servers followed by empty lines, never a tail of old ones.
int WriteInPlace(const std::string& path, const std::string& text) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    if (file.Get() < 0)
        return errno;
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0)
        return errno;
    std::string padded = text;
    if (static_cast<off_t>(padded.size()) < status.st_size)
        padded.resize(static_cast<std::size_t>(status.st_size), '\n');
    if (const int error = WriteAll(file.Get(), padded, 0))
        return error;
    if (::ftruncate(file.Get(), static_cast<off_t>(text.size())) != 0)
        return errno;
    return file.Close();
}

int WriteAndRename(const std::string& target, const std::string& text, mode_t mode) {
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    std::string temporary = (folder / ".resolv.conf.ostrelle-XXXXXX").string();
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.Get() < 0)
        return errno;
    int error = ::fchmod(file.Get(), mode) == 0 ? 0 : errno;
    if (error == 0)
        error = WriteAll(file.Get(), text, 0);
    if (error == 0)
        error = file.Close();
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temporary.c_str());
    return error;
}

}  // namespace

std::vector<std::string> ParseNameServers(const std::string& resolvConf) {
    std::vector<std::string> servers;
    std::istringstream lines(resolvConf);
    std::string line;
    while (std::getline(lines, line)) {
        std::string address = Ipv4NameServerOf(line);
        if (!address.empty())
            servers.push_back(std::move(address));
    }
    return servers;
}

std::string ReplaceNameServers(const std::string& resolvConf, const std::vector<std::string>& servers) {
    std::string serverLines;
    for (const std::string& server : servers)
        serverLines += "nameserver " + server + "\n";
    std::string result;
    bool placed = false;
    std::istringstream lines(resolvConf);
    std::string line;
    while (std::getline(lines, line)) {
        if (!placed && IsNameServerLine(line)) {
            result += serverLines;
            placed = true;
        }
        if (Ipv4NameServerOf(line).empty())
            result += line + "\n";
    }
    return placed ? result : result + serverLines;
}

int ReadResolvConf(const std::string& path, std::string& text) {
    text.clear();
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        return errno == ENOENT ? 0 : errno;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

int WriteResolvConf(const std::string& path, const std::string& text) {
    std::error_code ignored;
    // A link (to /run/resolvconf/resolv.conf, say) keeps pointing where it did; the file it names changes.
    std::string target = std::filesystem::weakly_canonical(path, ignored).string();
    if (target.empty())
        target = path;
    struct stat status {};
    const mode_t mode = ::stat(target.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0644;
    const int error = WriteAndRename(target, text, mode);
    if (error == EBUSY || error == EXDEV)
        return WriteInPlace(target, text);
    return error;
}

}  // namespace platform_linux
