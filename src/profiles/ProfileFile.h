#pragma once
// The profile file: one profile line per text line, CR LF on disk, GBK bytes, no header.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file/FileSystem.h"

namespace profiles {

// Lines of a text-mode read: each ends at LF, a CR right before the LF goes with it, and the last
// line counts without a final line break. All other bytes are kept as they are.
std::vector<std::string> SplitFileLines(std::string_view bytes);
// Each line followed by CR LF, as a text-mode stream writes it.
std::string JoinFileLines(const std::vector<std::string>& lines);

// Loads the file when it exists; nothing when it does not exist or cannot be opened for reading
// and writing. The caller learns whether the file was opened.
std::optional<std::vector<std::string>> LoadProfileFile(win::FileSystem& files, const std::string& path);
// Writes the whole file or, on any failure, leaves the old one as it was and returns false.
bool SaveProfileFile(win::FileSystem& files, const std::string& path, const std::vector<std::string>& lines);

}  // namespace profiles
