#include "platform/text/Gbk.h"

#include "platform/text/GbkCodec.h"

namespace text {
namespace {

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes GBK into code points, escaping each undecodable byte as U+DC00 + byte.
std::u32string DecodeGbk(std::string_view gbk) {
    std::u32string result;
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        const auto byte = static_cast<unsigned char>(gbk[pos]);
        char32_t character = byte;
        const std::size_t used = byte < 0x80 ? 1 : DecodeGbkCharacter(gbk.substr(pos, 2), character);
        if (used == 0) {
            result += static_cast<char32_t>(0xDC00 + byte);
            ++pos;
            continue;
        }
        result += character;
        pos += used;
    }
    return result;
}

// Encodes one code point to GBK; false when GBK has no such character.
bool EncodeGbk(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return true;
    }
    if (c >= 0xDC80 && c <= 0xDCFF) {  // an escaped byte
        out += static_cast<char>(c - 0xDC00);
        return true;
    }
    return EncodeGbkCharacter(c, out);
}

std::u32string DecodeUtf16(std::u16string_view utf16) {
    std::u32string result;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            result += static_cast<char32_t>(0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

// Decodes UTF-8; each invalid sequence becomes U+FFFD.
std::u32string DecodeUtf8(std::string_view utf8) {
    std::u32string result;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int extra = b < 0x80           ? 0
                          : (b >> 5) == 0x6  ? 1
                          : (b >> 4) == 0xE  ? 2
                          : (b >> 3) == 0x1E ? 3
                                             : -1;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool valid = extra >= 0 && i + static_cast<std::size_t>(extra) < utf8.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        // A character written with more bytes than it needs is invalid too: "\xC0\xAF" must not pass
        // for '/', nor "\xC0\x80" for a NUL that ends the text early.
        constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (valid && extra > 0 && (c < kSmallest[extra] || c > 0x10FFFF))
            valid = false;
        if (!valid) {
            result += U'\uFFFD';
            ++i;
            continue;
        }
        result += c;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return result;
}

}  // namespace

std::u16string GbkToUtf16(std::string_view gbk) {
    std::u16string result;
    for (char32_t c : DecodeGbk(gbk)) {
        if (c >= 0x10000) {
            result += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            result += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            result += static_cast<char16_t>(c);
        }
    }
    return result;
}

std::string Utf16ToGbk(std::u16string_view utf16) {
    std::string result;
    for (char32_t c : DecodeUtf16(utf16)) {
        if (!EncodeGbk(c, result))
            result += '?';
    }
    return result;
}

std::string GbkToUtf8(std::string_view gbk) {
    std::string result;
    for (char32_t c : DecodeGbk(gbk))
        AppendUtf8(c >= 0xDC00 && c <= 0xDCFF ? U'\uFFFD' : c, result);
    return result;
}

std::string Utf8ToGbk(std::string_view utf8) {
    std::string result;
    for (char32_t c : DecodeUtf8(utf8)) {
        const bool escapedByte = c >= 0xDC80 && c <= 0xDCFF;  // never produced by valid UTF-8
        if (escapedByte || !EncodeGbk(c, result))
            result += '?';
    }
    return result;
}

}  // namespace text
