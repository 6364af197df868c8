#include "dhcp/linux/ResidentHive.h"

#include <sys/stat.h>

namespace platform_linux {

ResidentHive::State ResidentHive::Open(const std::string& filePath) {
    struct stat file {};
    if (::stat(filePath.c_str(), &file) != 0) {
        hive_.reset();
        return State::kMissing;
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
