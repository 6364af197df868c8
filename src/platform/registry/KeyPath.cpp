#include "platform/registry/KeyPath.h"

#include <algorithm>

namespace winreg {

// A GBK character may end in the byte '\\' (0x5C), as "\xD5\x5C" does: the byte after a lead byte
// (0x81..0xFE) belongs to its character and never separates two components.
std::vector<std::string> SplitKeyPath(std::string_view path) {
    std::vector<std::string> components;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\') {
            const auto byte = static_cast<unsigned char>(path[i]);
            if (byte >= 0x81 && byte <= 0xFE && i + 1 < path.size())
                ++i;
            continue;
        }
        if (i > start)
            components.emplace_back(path.substr(start, i - start));
        start = i + 1;
    }
    return components;
}

std::string JoinKeyPath(const std::vector<std::string>& components, std::size_t first) {
    std::string path;
    for (std::size_t i = first; i < components.size(); ++i) {
        if (!path.empty())
            path += '\\';
        path += components[i];
    }
    return path;
}

// Only ASCII letters fold. A GBK trail byte may lie in 'A'..'Z' (trail bytes run 0x40..0xFE), so the
// byte after a lead byte (0x81..0xFE) is left alone: folding it would make two different characters equal.
std::string LowerKeyName(std::string_view name) {
    std::string lower(name);
    for (std::size_t i = 0; i < lower.size(); ++i) {
        const auto byte = static_cast<unsigned char>(lower[i]);
        if (byte >= 0x81 && byte <= 0xFE) {
            ++i;
        } else if (byte >= 'A' && byte <= 'Z') {
            lower[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return lower;
}

std::vector<std::string> LowerKeyComponents(const std::vector<std::string>& components) {
    std::vector<std::string> lower;
    lower.reserve(components.size());
    for (const std::string& component : components)
        lower.push_back(LowerKeyName(component));
    return lower;
}

namespace {

unsigned char AsciiLower(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

// As LowerKeyName(a) == LowerKeyName(b), without making either: names are compared at every value read,
// and most differ in their first bytes.
bool KeyNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto byteA = static_cast<unsigned char>(a[i]);
        const auto byteB = static_cast<unsigned char>(b[i]);
        if (byteA >= 0x81 && byteA <= 0xFE) {
            // A double-byte character's bytes compare as they are; both names have one here.
            if (byteA != byteB || (i + 1 < a.size() && a[i + 1] != b[i + 1]))
                return false;
            ++i;
        } else if (AsciiLower(byteA) != AsciiLower(byteB)) {
            return false;
        }
    }
    return true;
}

}  // namespace winreg
