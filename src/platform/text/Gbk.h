#pragma once
// The program's "ANSI" text is code page 936 (GBK) bytes. These conversions run only at the edges
// where text meets the OS or the toolkit.
//
// A byte sequence that is not valid GBK is never dropped: towards UTF-16 each such byte b becomes the
// lone surrogate U+DC00 + b, which converts back to the same byte, so text typed or shown through a
// UTF-16 toolkit round-trips exactly. Towards UTF-8, which cannot carry lone surrogates, each such
// byte becomes U+FFFD.

#include <string>
#include <string_view>

namespace text {

std::u16string GbkToUtf16(std::string_view gbk);
// Characters GBK cannot represent become "?"; escaped bytes (U+DC80..U+DCFF) become their byte.
std::string Utf16ToGbk(std::u16string_view utf16);

std::string GbkToUtf8(std::string_view gbk);
// Characters GBK cannot represent, and invalid UTF-8, become "?".
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace text
