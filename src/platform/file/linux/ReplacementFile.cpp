#include "platform/file/linux/ReplacementFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace platform_linux {
namespace {

constexpr std::string_view kNameCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kSuffixLength = 6;
constexpr int kNameAttempts = 100;

struct SplitPath {
    std::string folder;
    std::string fileName;
};

SplitPath Split(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool IsLowercase(char c) {
    return c >= 'a' && c <= 'z';
}

std::string NewReplacementPath(const std::string& target) {
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kNameCharacters.size() - 1);
    const std::string fileName = Split(target).fileName;
    std::string suffix;
    do {
        suffix.clear();
        for (std::size_t i = 0; i < kSuffixLength; ++i)
            suffix += kNameCharacters[pick(random)];
    } while (!IsReplacementNameOf(fileName + "." + suffix, fileName));
    return target + "." + suffix;
}

// Links an unnamed file into the folder. /proc gives any process the link; AT_EMPTY_PATH does without
// /proc but needs CAP_DAC_READ_SEARCH.
bool LinkUnnamed(int fd, const std::string& path) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != ENOENT)
        return false;
    return ::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0;
}

// A leftover is deleted only when it is a regular file no running save holds locked.
void RemoveIfStale(int folderFd, const char* name) {
    const int fd = ::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::unlinkat(folderFd, name, 0);
    ::close(fd);
}

}  // namespace

bool IsReplacementNameOf(std::string_view name, std::string_view fileName) {
    if (name.size() != fileName.size() + 1 + kSuffixLength || !name.starts_with(fileName) ||
        name[fileName.size()] != '.') {
        return false;
    }
    const std::string_view suffix = name.substr(fileName.size() + 1);
    bool notAWord = false;
    for (const char c : suffix) {
        if (kNameCharacters.find(c) == std::string_view::npos)
            return false;
        notAWord = notAWord || !IsLowercase(c);
    }
    return notAWord;
}

void RemoveStaleReplacements(const std::string& target) {
    const SplitPath parts = Split(target);
    const int folderFd = ::open(parts.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return;
    DIR* folder = ::fdopendir(folderFd);
    if (folder == nullptr) {
        ::close(folderFd);
        return;
    }
    while (const dirent* entry = ::readdir(folder)) {
        if (IsReplacementNameOf(entry->d_name, parts.fileName))
            RemoveIfStale(folderFd, entry->d_name);
    }
    ::closedir(folder);
}

ReplacementFile::ReplacementFile(std::string target, mode_t mode) : target_(std::move(target)) {
    // Close-on-exec from the start: a program the shell service starts meanwhile on another thread
    // must not keep a handle to the profile file this is about to become.
    fd_ = ::open(Split(target_).folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    for (int attempt = 0; fd_ < 0 && attempt < kNameAttempts; ++attempt) {
        std::string path = NewReplacementPath(target_);
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd_ >= 0)
            name_ = std::move(path);
        else if (errno != EEXIST)
            break;
    }
    // Held until the file is closed, so another instance clearing leftovers passes this one by.
    if (fd_ >= 0)
        ::flock(fd_, LOCK_EX);
}

ReplacementFile::~ReplacementFile() {
    if (!committed_ && !name_.empty())
        ::unlink(name_.c_str());
    if (fd_ >= 0)
        ::close(fd_);
}

bool ReplacementFile::GiveName() {
    for (int attempt = 0; name_.empty() && attempt < kNameAttempts; ++attempt) {
        std::string path = NewReplacementPath(target_);
        if (LinkUnnamed(fd_, path))
            name_ = std::move(path);
        else if (errno != EEXIST)
            return false;
    }
    return !name_.empty();
}

bool ReplacementFile::Commit() {
    committed_ = ok() && GiveName() && ::rename(name_.c_str(), target_.c_str()) == 0;
    return committed_;
}

}  // namespace platform_linux
