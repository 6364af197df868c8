#include "platform/text/Gbk.h"

#include <gtest/gtest.h>

namespace {

// glibc's GBK table has no user-defined areas: their bytes stay escaped, as any invalid byte does.
// Windows maps them to private-use characters instead.
TEST(GbkIconv, UserDefinedAreaIsRefusedButSurvives) {
    for (const char* gbk : {"\xAA\xA1", "\xF8\xA1", "\xA1\x40"}) {
        SCOPED_TRACE(gbk);
        const std::u16string wide = text::GbkToUtf16(gbk);
        ASSERT_EQ(wide.size(), 2u);
        EXPECT_EQ(wide[0], 0xDC00 + static_cast<unsigned char>(gbk[0]));
        EXPECT_EQ(text::Utf16ToGbk(wide), gbk);
    }
    EXPECT_EQ(text::Utf16ToGbk(u"\uE000"), "?");
}

}  // namespace
