#include "profiles/ProfileLine.h"

#include <gtest/gtest.h>

#include "fakes/GbkText.h"

namespace {

using fakes::Gbk;
using profiles::IpProfile;

const IpProfile kOffice{Gbk("办公室"),
                        "2",
                        "Example PCI Fast Ethernet Adapter",
                        {"192.0.2.20", "255.255.255.0", "192.0.2.1", "198.51.100.53", "198.51.100.54"}};

TEST(ProfileLine, ComposesTheExampleLine) {
    const std::string line = profiles::ComposeProfileLine(kOffice);
    EXPECT_EQ(
        line,
        Gbk("办公室|2|Example PCI Fast Ethernet Adapter|192.0.2.20|255.255.255.0|192.0.2.1|198.51.100.53|"
            "198.51.100.54"));
    EXPECT_EQ(line.substr(0, 9), "\xB0\xEC\xB9\xAB\xCA\xD2\x7C\x32\x7C");
    EXPECT_EQ(line.size() + 2, 107u) << "with its CR LF the record takes 107 bytes";
}

TEST(ProfileLine, SplitGivesBackEveryField) {
    EXPECT_EQ(profiles::SplitProfileLine(profiles::ComposeProfileLine(kOffice)), kOffice);
}

TEST(ProfileLine, FewerSeparatorsLeaveMiddleFieldsEmptyAndTheRestInFieldEight) {
    struct Case {
        const char* line;
        const char* name;
        const char* icon;
        const char* adapter;
        const char* last;
    };
    const Case cases[] = {
        {"no bars at all", "", "", "", "no bars at all"},
        {"home|3|rest", "home", "3", "", "rest"},
        {"", "", "", "", ""},
        {"a|b|c|d|e|f|g|h|i|j", "a", "b", "c", "h|i|j"},
        {"|||||||", "", "", "", ""},
        {"\x96|x|1|rest", "\x96|x", "1", "", "rest"},  // 東 ends in the separator's byte
    };
    for (const auto& c : cases) {
        const IpProfile p = profiles::SplitProfileLine(c.line);
        const profiles::ProfileListFields listed = profiles::SplitProfileListFields(c.line);
        EXPECT_EQ(p.name, c.name) << c.line;
        EXPECT_EQ(listed.name, c.name) << c.line;
        EXPECT_EQ(p.iconNumberText, c.icon) << c.line;
        EXPECT_EQ(listed.iconNumberText, c.icon) << c.line;
        EXPECT_EQ(p.adapter, c.adapter) << c.line;
        EXPECT_EQ(p.settings.alternateDns, c.last) << c.line;
    }
    EXPECT_EQ(profiles::SplitProfileLine("home|3|rest").settings.ipAddress, "");
}

// GBK characters whose second byte is the separator's byte: 東 (96 7C), 億 (83 7C), 質 (D9 7C), ...
TEST(ProfileLine, ACharacterEndingInTheSeparatorByteStaysInItsField) {
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        const std::string character{static_cast<char>(lead), '|'};
        for (const std::string& text : {character, "a" + character + "b", character + character}) {
            IpProfile profile = kOffice;
            profile.name = text;
            profile.adapter = "NIC " + text;
            EXPECT_TRUE(profiles::IsStorableName(text)) << lead;
            EXPECT_EQ(profiles::SplitProfileLine(profiles::ComposeProfileLine(profile)), profile) << lead;
        }
    }
    EXPECT_EQ(profiles::SplitProfileLine("\x96|2|").name, "\x96|2") << "a lead byte takes the next byte";
}

TEST(ProfileLine, OnlyANameThatReadsBackAsItselfCanBeStored) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},      {"abc", true},       {Gbk("東京"), true},         {"\x80", true},
        {"a|b", false},  {Gbk("東|"), false}, {Gbk("|億"), false},         {Gbk("質|東"), false},
        {"\xB0", false}, {"ab\xFE", false},   {Gbk("東") + "\x96", false},
    };
    for (const auto& [name, storable] : cases)
        EXPECT_EQ(profiles::IsStorableName(name), storable) << name;
}

TEST(ProfileLine, IconNumberFollowsAtoi) {
    const std::pair<const char*, int> cases[] = {
        {"2", 2},   {"x", 0},    {"", 0},
        {"  3", 3}, {"\t4z", 4}, {"-1", -1},
        {"+2", 2},  {"7", 7},    {"99999999999", 2147483647},
    };
    for (const auto& [field, expected] : cases)
        EXPECT_EQ(profiles::IconNumber(field), expected) << field;
    EXPECT_TRUE(profiles::IsProfileIcon(0));
    EXPECT_TRUE(profiles::IsProfileIcon(4));
    EXPECT_FALSE(profiles::IsProfileIcon(5));
    EXPECT_FALSE(profiles::IsProfileIcon(-1));
}

}  // namespace
