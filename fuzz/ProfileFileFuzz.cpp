// The profile file as it comes from disk: split into lines, each line into a profile, the icon field read
// as a number, and the profile composed back into a line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "profiles/ProfileFile.h"
#include "profiles/ProfileLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : profiles::SplitFileLines(bytes)) {
        const profiles::IpProfile profile = profiles::SplitProfileLine(line);
        profiles::IsProfileIcon(profiles::IconNumber(profile.iconNumberText));
        profiles::ComposeProfileLine(profile);
    }
    return 0;
}
