#include "res/StringTable.h"

#include <gtest/gtest.h>

#include "fakes/GbkText.h"
#include "res/Resource.h"

namespace {

using fakes::Gbk;

TEST(StringTable, LoadStringGivesTheTextOrNothing) {
    EXPECT_EQ(res::LoadString(res::IDS_ABOUTBOX), Gbk("关于 Corvane(&A)..."));
    EXPECT_EQ(res::LoadString(999), "");
}

TEST(StringTable, FormatStringPutsTheArgumentInPlaceOfPercentOne) {
    struct Case {
        int stringId;
        std::string argument;
        std::string expected;
    };
    const Case cases[] = {
        {res::IDS_PROFILE_CONFIG_GROUP, Gbk("办公室"), Gbk("办公室的IP配置")},
        {res::IDS_PROFILE_CONFIG_GROUP, "", Gbk("的IP配置")},
        // A name is shown as typed, a "%1" in it included.
        {res::IDS_PROFILE_CONFIG_GROUP, "50%1", Gbk("50%1的IP配置")},
        {res::IDS_ABOUTBOX, "x", Gbk("关于 Corvane(&A)...")},
        {999, "x", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(res::FormatString(c.stringId, c.argument), c.expected) << c.stringId << " " << c.argument;
}

}  // namespace
