#pragma once
// One character of code page 936 to and from a code point: the part of the GBK conversions each
// platform answers from its own tables (iconv on Linux, the OS's code page 936 on Windows). The tables
// differ in the user-defined area, which Windows maps to private-use characters and glibc rejects.

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// Decodes the character at the start of bytes, whose first byte is not ASCII. Returns the bytes it
// takes (1 or 2), or 0 when no character of the code page starts there.
std::size_t DecodeGbkCharacter(std::string_view bytes, char32_t& character);

// Appends the code page's bytes for a non-ASCII code point; false when it has no such character.
bool EncodeGbkCharacter(char32_t character, std::string& out);

}  // namespace text
