#pragma once
// The version block: the fixed part and its string table (language 0804, code page 04B0).

#include <array>
#include <utility>

namespace res {

inline constexpr std::array<unsigned, 4> kFileVersion{1, 0, 0, 1};
inline constexpr std::array<unsigned, 4> kProductVersion{1, 0, 0, 1};
inline constexpr const char* kVersionLanguage = "080404B0";
// The program's own version, which the update check compares with the server's.
inline constexpr const char* kProgramVersion = "3.2";

// Names and values; the values are UTF-8, as a Unicode version block stores them.
inline constexpr std::array<std::pair<const char*, const char8_t*>, 6> kVersionStrings{{
    {"FileDescription", u8"Ostrelle v3.2"},
    {"FileVersion", u8"3.2"},
    {"InternalName", u8"Corvane"},
    {"OriginalFilename", u8"Corvane.EXE"},
    {"ProductName", u8"Corvane 应用程序"},
    {"ProductVersion", u8"3, 2, 0, 0"},
}};

}  // namespace res
