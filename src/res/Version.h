#pragma once
// The version block: the fixed part and its string table (language 0804, code page 04B0). The
// numbers come from the build: the program's version is the project's, the block's numeric version
// is set beside it.

#include <array>
#include <utility>

namespace res {

inline constexpr std::array<unsigned, 4> kFileVersion{OSTRELLE_FILE_VERSION};
inline constexpr std::array<unsigned, 4> kProductVersion{OSTRELLE_FILE_VERSION};
inline constexpr const char* kVersionLanguage = "080404B0";
// The program's own version, which the update check compares with the server's.
inline constexpr const char* kProgramVersion = OSTRELLE_VERSION;
// The product and its version as the captions and the About box name it.
inline constexpr const char* kProductCaption = "Ostrelle v" OSTRELLE_VERSION;

// Names and values; the values are UTF-8, as a Unicode version block stores them.
inline constexpr std::array<std::pair<const char*, const char8_t*>, 6> kVersionStrings{{
    {"FileDescription", u8"Ostrelle v" OSTRELLE_VERSION},
    {"FileVersion", u8"" OSTRELLE_VERSION},
    {"InternalName", u8"Corvane"},
    {"OriginalFilename", u8"Corvane.EXE"},
    {"ProductName", u8"Corvane 应用程序"},
    {"ProductVersion", u8"" OSTRELLE_PRODUCT_VERSION},
}};

}  // namespace res
