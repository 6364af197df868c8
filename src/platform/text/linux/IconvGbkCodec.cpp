#include "platform/text/GbkCodec.h"

#include <iconv.h>

#include <cstdint>

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
        if (!Valid())
            return 0;
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

}  // namespace

std::size_t DecodeGbkCharacter(std::string_view bytes, char32_t& character) {
    thread_local Converter toUtf32("UTF-32LE", "GBK");
    std::string unit;
    const std::size_t used = toUtf32.ConvertOne(bytes.data(), bytes.size(), 2, unit);
    if (used == 0 || unit.size() != 4)
        return 0;
    const auto* u = reinterpret_cast<const unsigned char*>(unit.data());
    character =
        static_cast<char32_t>(u[0] | (u[1] << 8) | (u[2] << 16) | (static_cast<std::uint32_t>(u[3]) << 24));
    return used;
}

bool EncodeGbkCharacter(char32_t character, std::string& out) {
    thread_local Converter fromUtf32("GBK", "UTF-32LE");
    const char unit[4] = {static_cast<char>(character & 0xFF), static_cast<char>((character >> 8) & 0xFF),
                          static_cast<char>((character >> 16) & 0xFF),
                          static_cast<char>((character >> 24) & 0xFF)};
    return fromUtf32.ConvertOne(unit, 4, 4, out) == 4;
}

}  // namespace text
