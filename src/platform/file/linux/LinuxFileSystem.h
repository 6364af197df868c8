#pragma once
// The profile and marker files on a POSIX file system; GBK paths become UTF-8 file names.

#include "platform/file/FileSystem.h"

namespace platform_linux {

class LinuxFileSystem : public win::FileSystem {
  public:
    bool Exists(const std::string& path) override;
    std::optional<std::string> ReadExisting(const std::string& path) override;
    bool ReplaceContents(const std::string& path, const std::string& bytes) override;
    bool CreateEmpty(const std::string& path) override;
    bool OpenExclusiveAndDelete(const std::string& path) override;

  protected:
    // One write(2) of the replacement; a seam for tests that interrupt a save part-way.
    virtual long WriteSome(int fd, const char* data, std::size_t size);
};

}  // namespace platform_linux
