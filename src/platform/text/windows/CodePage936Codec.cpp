#include "platform/text/GbkCodec.h"

#include <windows.h>

namespace text {
namespace {

constexpr UINT kGbkCodePage = 936;

}  // namespace

std::size_t DecodeGbkCharacter(std::string_view bytes, char32_t& character) {
    // A lead byte alone is refused under MB_ERR_INVALID_CHARS, so the shortest length that converts
    // is the character's own.
    for (int len = 1; len <= 2 && static_cast<std::size_t>(len) <= bytes.size(); ++len) {
        wchar_t wide[2];
        if (MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, bytes.data(), len, wide, 2) == 1) {
            character = static_cast<char32_t>(wide[0]);
            return static_cast<std::size_t>(len);
        }
    }
    return 0;
}

bool EncodeGbkCharacter(char32_t character, std::string& out) {
    // Code page 936 holds no character beyond the basic plane and no lone surrogate.
    if (character >= 0x10000 || (character >= 0xD800 && character <= 0xDFFF))
        return false;
    const wchar_t wide = static_cast<wchar_t>(character);
    char bytes[4];
    BOOL usedDefault = FALSE;
    // Without WC_NO_BEST_FIT_CHARS Windows writes a look-alike ("a" for "ä"), which would read back as
    // another character.
    const int written = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes,
                                            nullptr, &usedDefault);
    if (written <= 0 || usedDefault)
        return false;
    out.append(bytes, static_cast<std::size_t>(written));
    return true;
}

}  // namespace text
