#include "startup/ProgramFolder.h"

#include <cstdlib>
#include <fstream>
#include <vector>

namespace bench {

namespace {

constexpr char kGbkName[] = "\xC5\xE4\xD6\xC3";  // 配置, "profile"

std::filesystem::path MakeTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrelle-startup.XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    return ::mkdtemp(name.data()) != nullptr ? std::filesystem::path(name.data()) : std::filesystem::path();
}

}  // namespace

std::string ProfileFileText(int lines) {
    std::string text;
    for (int line = 0; line < lines; ++line) {
        const std::string host = std::to_string(line % 250 + 2);
        const std::string subnet = std::to_string(line / 250 % 250);
        text.append(kGbkName).append(std::to_string(line)).append("|").append(std::to_string(line % 5));
        text.append("|Example PCI Fast Ethernet Adapter|10.").append(subnet).append(".0.").append(host);
        text.append("|255.255.255.0|10.").append(subnet).append(".0.1|198.51.100.53|198.51.100.54\r\n");
    }
    return text;
}

ProgramFolder::ProgramFolder(const std::filesystem::path& program, const std::filesystem::path& library,
                             int profileLines)
    : root_(MakeTempFolder()) {
    if (root_.empty())
        return;
    std::filesystem::copy_file(program, root_ / program.filename());
    std::filesystem::copy_file(library, root_ / library.filename());
    std::filesystem::create_directory(root_ / "autostart");
    executable_ = root_ / program.filename();
    // The profile file is the executable's path less its 4-character extension.
    std::ofstream(root_ / program.stem(), std::ios::binary) << ProfileFileText(profileLines);
}

ProgramFolder::~ProgramFolder() {
    std::error_code ignored;
    if (!root_.empty())
        std::filesystem::remove_all(root_, ignored);
}

}  // namespace bench
