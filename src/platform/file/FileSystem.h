#pragma once
// The file operations of the profile file and the marker file. Paths are GBK bytes, as the program
// builds them; the implementation converts them for the OS.

#include <optional>
#include <string>

namespace win {

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // A file or a directory of that name exists (the file-status test).
    virtual bool Exists(const std::string& path) = 0;
    // Opens an existing file for reading and writing without creating or truncating it, and reads all
    // of it; nothing when it cannot be opened that way (a directory, no rights, locked).
    virtual std::optional<std::string> ReadExisting(const std::string& path) = 0;
    // Replaces the file's content with bytes, all or nothing: the old content survives any failure.
    // False when the file cannot be opened for writing or the new content cannot be completed.
    virtual bool ReplaceContents(const std::string& path, const std::string& bytes) = 0;
    // Creates the file empty, truncating an existing one.
    virtual bool CreateEmpty(const std::string& path) = 0;
    // Opens the file for reading with exclusive access, closes it and deletes it; false if any step
    // fails (opening fails exactly when nothing of that name can be opened).
    virtual bool OpenExclusiveAndDelete(const std::string& path) = 0;
};

}  // namespace win
