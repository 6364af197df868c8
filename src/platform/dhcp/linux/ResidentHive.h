#pragma once
// libdhcpcsvc.so's connection to the hive, kept from one notification to the next. The library stays
// loaded once it has been loaded (it is linked with -z nodelete), so every switch after the first finds
// the file open, its schema read and its WAL index mapped instead of paying for all three again, and
// the program's own connection is not made to re-read its pages after each open and close.

#include <sys/types.h>

#include <memory>
#include <string>

#include "platform/registry/linux/SqliteHive.h"

namespace platform_linux {

class ResidentHive {
  public:
    enum class State { kOpen, kMissing, kUnreadable };

    // The hive at filePath. The connection is opened again when the file there is not the one it has
    // open: another path, or the file replaced or created anew since. kMissing when there is no file
    // (so nothing is pending), kUnreadable when the file or its path cannot be looked at or opened.
    State Open(const std::string& filePath);
    SqliteHive& Hive() { return *hive_; }

  private:
    std::string path_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::unique_ptr<SqliteHive> hive_;
};

}  // namespace platform_linux
