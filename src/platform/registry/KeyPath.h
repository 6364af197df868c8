#pragma once
// Key paths as Windows spells them: components joined by '\', names compared without regard to ASCII
// letter case.

#include <string>
#include <string_view>
#include <vector>

namespace winreg {

// Empty components (a doubled or trailing '\') are dropped.
std::vector<std::string> SplitKeyPath(std::string_view path);
// The components from index first on, joined by '\'.
std::string JoinKeyPath(const std::vector<std::string>& components, std::size_t first);
std::string LowerKeyName(std::string_view name);
std::vector<std::string> LowerKeyComponents(const std::vector<std::string>& components);
bool KeyNamesEqual(std::string_view a, std::string_view b);

}  // namespace winreg
