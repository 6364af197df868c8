#pragma once
// The profile and marker files through the wide-character file APIs: GBK paths become UTF-16, so a
// file name means the same whatever the system's ANSI code page is.

#include "platform/file/FileSystem.h"

namespace platform_windows {

class WindowsFileSystem : public win::FileSystem {
  public:
    bool Exists(const std::string& path) override;
    std::optional<std::string> ReadExisting(const std::string& path) override;
    bool ReplaceContents(const std::string& path, const std::string& bytes) override;
    bool CreateEmpty(const std::string& path) override;
    bool OpenExclusiveAndDelete(const std::string& path) override;
};

}  // namespace platform_windows
