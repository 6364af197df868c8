#pragma once
// The profile line: eight fields joined by "|", no quoting, held and saved as GBK bytes:
//
//   办公室|2|Example PCI Fast Ethernet Adapter|192.0.2.20|255.255.255.0|192.0.2.1|198.51.100.53|198.51.100.54
//   name  |icon|adapter description        |address   |mask         |gateway  |preferred DNS|alternate DNS

#include <string>
#include <string_view>

#include "adapters/Ipv4Settings.h"

namespace profiles {

struct IpProfile {
    std::string name;
    std::string iconNumberText;  // as the line holds it; IconNumber reads the number
    std::string adapter;
    adapters::Ipv4Settings settings;

    bool operator==(const IpProfile&) const = default;
};

// The fields the profile list shows, as views into the line they were read from.
struct ProfileListFields {
    std::string_view name;
    std::string_view iconNumberText;
};

constexpr int kIconCount = 5;  // icon numbers 0 to 4

// The position of the first "|" that separates fields, or npos. The byte after a GBK lead byte
// (0x81..0xFE) is the second half of its character and never separates, even where it is 0x7C.
std::size_t FindSeparator(std::string_view text);
// Whether a name reads back as itself from a composed line: it holds no separator and does not end
// in half a character.
bool IsStorableName(std::string_view name);

std::string ComposeProfileLine(const IpProfile& profile);
// Takes the fields apart: fields 1 to 7 each end at the next separator (empty when there is none
// left), field 8 is whatever remains.
IpProfile SplitProfileLine(std::string_view line);
// Fields 1 and 2 as SplitProfileLine reads them, without copying: filling the list at start reads
// these two of every line and nothing else.
ProfileListFields SplitProfileListFields(std::string_view line);
// The icon number of field 2, converted as atoi does: leading blanks, a sign, digits; no digits give 0.
int IconNumber(std::string_view iconField);
bool IsProfileIcon(int iconNumber);

}  // namespace profiles
