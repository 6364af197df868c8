#include "profiles/ProfileLine.h"

#include <array>
#include <climits>

namespace profiles {
namespace {

constexpr char kSeparator = '|';

bool IsLeadByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x81 && byte <= 0xFE;
}

std::string_view TakeField(std::string_view& rest) {
    const std::size_t bar = FindSeparator(rest);
    if (bar == std::string_view::npos)
        return {};
    std::string_view field = rest.substr(0, bar);
    rest.remove_prefix(bar + 1);
    return field;
}

bool IsAtoiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

// A GBK second byte lies in 0x40..0xFE, so it can be 0x7C: 東 is 96 7C, 億 83 7C, 質 D9 7C, and
// 115 more characters end in it.
std::size_t FindSeparator(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kSeparator)
            return i;
        if (IsLeadByte(text[i]))
            ++i;
    }
    return std::string_view::npos;
}

bool IsStorableName(std::string_view name) {
    if (FindSeparator(name) != std::string_view::npos)
        return false;
    // A lead byte with no second byte would take the separator after the name as its own.
    std::size_t i = 0;
    while (i < name.size())
        i += IsLeadByte(name[i]) ? 2 : 1;
    return i == name.size();
}

std::string ComposeProfileLine(const IpProfile& p) {
    const adapters::Ipv4Settings& s = p.settings;
    const std::array<const std::string*, 8> fields{&p.name,         &p.iconNumberText, &p.adapter,
                                                   &s.ipAddress,    &s.subnetMask,     &s.defaultGateway,
                                                   &s.preferredDns, &s.alternateDns};
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += kSeparator;
        line += *fields[i];
    }
    return line;
}

ProfileListFields SplitProfileListFields(std::string_view line) {
    std::string_view rest = line;
    ProfileListFields fields;
    fields.name = TakeField(rest);
    fields.iconNumberText = TakeField(rest);
    return fields;
}

IpProfile SplitProfileLine(std::string_view line) {
    std::string_view rest = line;
    IpProfile p;
    p.name = TakeField(rest);
    p.iconNumberText = TakeField(rest);
    p.adapter = TakeField(rest);
    p.settings.ipAddress = TakeField(rest);
    p.settings.subnetMask = TakeField(rest);
    p.settings.defaultGateway = TakeField(rest);
    p.settings.preferredDns = TakeField(rest);
    p.settings.alternateDns = rest;
    return p;
}

int IconNumber(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && IsAtoiSpace(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        negative = field[i++] == '-';
    // Saturate instead of overflowing: any number this large is no icon anyway.
    long long value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        if (value < INT_MAX)
            value = value * 10 + (field[i] - '0');
    }
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(negative ? -value : value);
}

bool IsProfileIcon(int iconNumber) {
    return iconNumber >= 0 && iconNumber < kIconCount;
}

}  // namespace profiles
