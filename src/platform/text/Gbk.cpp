#include "platform/text/Gbk.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <vector>

namespace text {
namespace {

// One iconv conversion descriptor, closed with its owner.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (Valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts one whole unit (a character) at in; returns the bytes consumed, 0 when in holds no
    // valid sequence there. The output is appended to out.
    std::size_t ConvertOne(const char* in, std::size_t available, std::size_t unitMax, std::string& out) {
        for (std::size_t len = 1; len <= unitMax && len <= available; ++len) {
            char buffer[16];
            char* src = const_cast<char*>(in);
            std::size_t srcLeft = len;
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1) && srcLeft == 0) {
                out.append(buffer, sizeof buffer - dstLeft);
                return len;
            }
        }
        return 0;
    }

  private:
    iconv_t cd_;
};

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
    thread_local Converter toUtf32("UTF-32LE", "GBK");
    std::u32string result;
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        const auto byte = static_cast<unsigned char>(gbk[pos]);
        if (byte < 0x80) {
            result += static_cast<char32_t>(byte);
            ++pos;
            continue;
        }
        std::string unit;
        const std::size_t used =
            toUtf32.Valid() ? toUtf32.ConvertOne(gbk.data() + pos, gbk.size() - pos, 2, unit) : 0;
        if (used == 0 || unit.size() != 4) {
            result += static_cast<char32_t>(0xDC00 + byte);
            ++pos;
            continue;
        }
        const auto* u = reinterpret_cast<const unsigned char*>(unit.data());
        result += static_cast<char32_t>(u[0] | (u[1] << 8) | (u[2] << 16) |
                                        (static_cast<std::uint32_t>(u[3]) << 24));
        pos += used;
    }
    return result;
}

// Encodes one code point to GBK; false when GBK has no such character.
bool EncodeGbk(char32_t c, std::string& out) {
    thread_local Converter fromUtf32("GBK", "UTF-32LE");
    if (c < 0x80) {
        out += static_cast<char>(c);
        return true;
    }
    if (c >= 0xDC80 && c <= 0xDCFF) {  // an escaped byte
        out += static_cast<char>(c - 0xDC00);
        return true;
    }
    const char unit[4] = {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF),
                          static_cast<char>((c >> 16) & 0xFF), static_cast<char>((c >> 24) & 0xFF)};
    return fromUtf32.Valid() && fromUtf32.ConvertOne(unit, 4, 4, out) == 4;
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
