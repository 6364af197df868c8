#include "platform/text/Gbk.h"

#include <gtest/gtest.h>

namespace {

// Windows maps GBK's user-defined areas to the private-use characters from U+E000 on, and so takes and
// gives back bytes that glibc's GBK table refuses.
TEST(CodePage936, UserDefinedAreaIsPrivateUseAndRoundTrips) {
    struct Case {
        const char* gbk;
        char16_t privateUse;
    };
    const Case cases[] = {
        {"\xAA\xA1", u'\xE000'},  // first of the area AAA1-AFFE
        {"\xF8\xA1", u'\xE234'},  // first of the area F8A1-FEFE
        {"\xA1\x40", u'\xE4C6'},  // first of the area A140-A7A0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gbk);
        EXPECT_EQ(text::GbkToUtf16(c.gbk), std::u16string(1, c.privateUse));
        EXPECT_EQ(text::Utf16ToGbk(std::u16string(1, c.privateUse)), c.gbk);
    }
}

TEST(CodePage936, NoBestFitCharactersStandInForMissingOnes) {
    EXPECT_EQ(text::Utf16ToGbk(u"\u00E4x"), "?x");       // not "ax"
    EXPECT_EQ(text::Utf8ToGbk("\xE2\x82\xAC"), "\x80");  // the euro sign, code page 936's single byte 0x80
}

}  // namespace
