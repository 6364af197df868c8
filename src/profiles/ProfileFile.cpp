#include "profiles/ProfileFile.h"

namespace profiles {

namespace {

std::size_t CountLines(std::string_view bytes) {
    std::size_t count = 1;
    for (std::size_t lf = bytes.find('\n'); lf != std::string_view::npos; lf = bytes.find('\n', lf + 1))
        ++count;
    return count;
}

}  // namespace

std::vector<std::string> SplitFileLines(std::string_view bytes) {
    std::vector<std::string> lines;
    // Counted first: growing the vector line by line moved every line read so far a dozen times over
    // in a file of thousands.
    lines.reserve(CountLines(bytes));
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        if (lf == std::string_view::npos)
            break;
        bytes.remove_prefix(lf + 1);
    }
    return lines;
}

std::string JoinFileLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

std::optional<std::vector<std::string>> LoadProfileFile(win::FileSystem& files, const std::string& path) {
    if (!files.Exists(path))
        return std::nullopt;
    std::optional<std::string> bytes = files.ReadExisting(path);
    if (!bytes)
        return std::nullopt;
    return SplitFileLines(*bytes);
}

bool SaveProfileFile(win::FileSystem& files, const std::string& path, const std::vector<std::string>& lines) {
    return files.ReplaceContents(path, JoinFileLines(lines));
}

}  // namespace profiles
