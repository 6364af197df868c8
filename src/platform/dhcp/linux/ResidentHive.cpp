#include "platform/dhcp/linux/ResidentHive.h"

#include <sys/stat.h>

#include <cerrno>

namespace platform_linux {

ResidentHive::State ResidentHive::Open(const std::string& filePath) {
    struct stat file {};
    if (::stat(filePath.c_str(), &file) != 0) {
        hive_.reset();
        // Only a file that is not there means nothing is pending; a path that cannot be looked at
        // (no permission, a file where a folder should be) may hide pending values.
        return errno == ENOENT ? State::kMissing : State::kUnreadable;
    }
    if (hive_ && path_ == filePath && device_ == file.st_dev && inode_ == file.st_ino)
        return State::kOpen;
    hive_ = SqliteHive::Open(filePath);
    if (!hive_)
        return State::kUnreadable;
    path_ = filePath;
    device_ = file.st_dev;
    inode_ = file.st_ino;
    return State::kOpen;
}

}  // namespace platform_linux
