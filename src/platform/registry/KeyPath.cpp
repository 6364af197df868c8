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

bool KeyNamesEqual(std::string_view a, std::string_view b) {
    return LowerKeyName(a) == LowerKeyName(b);
}

}  // namespace winreg
