#include "platform/text/Gbk.h"

#include <gtest/gtest.h>

namespace {

TEST(Gbk, ConvertsChineseBothWays) {
    const std::string gbk = "\xB0\xEC\xB9\xAB\xCA\xD2";  // 办公室
    EXPECT_EQ(text::GbkToUtf8(gbk), "办公室");
    EXPECT_EQ(text::Utf8ToGbk("办公室"), gbk);
    EXPECT_EQ(text::GbkToUtf16(gbk), u"办公室");
    EXPECT_EQ(text::Utf16ToGbk(u"办公室|2"), gbk + "|2");
}

TEST(Gbk, InvalidBytesSurviveTheRoundTripThroughUtf16) {
    // A lone lead byte, a lead byte with an invalid trail, and 0xFF, which starts nothing.
    const std::string bad = std::string("a\x81", 2) + "\xB0\x20" + "\xFF" + "z\xB0";
    const std::u16string wide = text::GbkToUtf16(bad);
    EXPECT_EQ(text::Utf16ToGbk(wide), bad);
    EXPECT_EQ(wide.front(), u'a');
}

TEST(Gbk, InvalidBytesBecomeReplacementCharactersInUtf8) {
    EXPECT_EQ(text::GbkToUtf8("x\xFFy"), "x\xEF\xBF\xBDy");
}

TEST(Gbk, CharactersOutsideGbkBecomeQuestionMarks) {
    EXPECT_EQ(text::Utf8ToGbk("a\xF0\x9F\x98\x80"
                              "b"),
              "a?b");                           // an emoji
    EXPECT_EQ(text::Utf8ToGbk("\xC3("), "?(");  // broken UTF-8
}

TEST(Gbk, OverlongUtf8IsInvalidNotAShorterCharacter) {
    EXPECT_EQ(text::Utf8ToGbk("a\xC0\xAF"
                              "b"),
              "a??b");                                                    // not "a/b"
    EXPECT_EQ(text::Utf8ToGbk(std::string_view("\xC0\x80x", 3)), "??x");  // not a NUL
    EXPECT_EQ(text::Utf8ToGbk("\xE0\x80\xAE"), "???");                    // not '.'
    EXPECT_EQ(text::Utf8ToGbk("\xF0\x80\x81\x81"), "????");               // not 'A'
    EXPECT_EQ(text::Utf8ToGbk("\xF4\x90\x80\x80"), "????");               // past U+10FFFF
    EXPECT_EQ(text::Utf8ToGbk("\xC2\xB7"), "\xA1\xA4");  // the shortest form of U+00B7 still converts
}

TEST(Gbk, BinaryBytesOfAllValuesNeverCrash) {
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(255 - i);
    EXPECT_EQ(text::Utf16ToGbk(text::GbkToUtf16(all)), all);
    EXPECT_FALSE(text::GbkToUtf8(all).empty());
}

}  // namespace
