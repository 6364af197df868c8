#pragma once
// The file a new profile file is written to before it takes the old one's name in one rename, so the
// profile file is never seen half written. Where the file system allows, it has no name until it is
// complete (O_TMPFILE), so a save killed part-way leaves nothing behind; elsewhere it is named
// "<file>.XXXXXX", and such leftovers of a killed save are cleared at the next save.

#include <sys/types.h>

#include <string>
#include <string_view>

namespace platform_linux {

// Whether name is one this program gives a replacement of fileName: fileName, a dot and six letters or
// digits, at least one of them a digit or a capital, so words such as "backup" never match.
bool IsReplacementNameOf(std::string_view name, std::string_view fileName);

// Deletes the replacements of target that a killed save left beside it: regular files with such a
// name that no running save holds. Links and anything else are left alone.
void RemoveStaleReplacements(const std::string& target);

class ReplacementFile {
  public:
    // A new empty file in target's folder, locked for as long as this object lives.
    ReplacementFile(std::string target, mode_t mode);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Puts the written file in target's place in one step; false, with target untouched, if it cannot.
    bool Commit();

  private:
    bool GiveName();

    std::string target_;
    std::string name_;  // empty while the file has none
    int fd_ = -1;
    bool committed_ = false;
};

}  // namespace platform_linux
