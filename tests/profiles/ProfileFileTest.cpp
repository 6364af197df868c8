#include "profiles/ProfileFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/file/NativeFileSystem.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

class ProfileFileTest : public ::testing::Test {
  protected:
    void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::string Read() {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> RoundTrip(const std::string& bytes) {
        Write(bytes);
        auto lines = profiles::LoadProfileFile(files, path);
        EXPECT_TRUE(lines.has_value());
        EXPECT_TRUE(profiles::SaveProfileFile(files, path, *lines));
        return *lines;
    }

    TempDir dir;
    std::string path = dir / "tarnquill";
    std::unique_ptr<win::FileSystem> fileSystem = platform::MakeNativeFileSystem();
    win::FileSystem& files = *fileSystem;
};

TEST_F(ProfileFileTest, TheExampleRecordIs107BytesOnDisk) {
    const std::string line =
        "\xB0\xEC\xB9\xAB\xCA\xD2|2|Example PCI Fast Ethernet Adapter|192.0.2.20|255.255.255.0|192.0.2.1|"
        "198.51.100.53|198.51.100.54";
    ASSERT_TRUE(profiles::SaveProfileFile(files, path, {line}));
    const std::string bytes = Read();
    EXPECT_EQ(bytes.size(), 107u);
    EXPECT_EQ(bytes.substr(0, 9), "\xB0\xEC\xB9\xAB\xCA\xD2\x7C\x32\x7C");
    EXPECT_EQ(bytes.substr(105), "\r\n");
}

TEST_F(ProfileFileTest, LineEndsAndOddContent) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
        std::string saved;
    };
    const std::string binary("a\0b\x01\xFF\x81|c", 8);
    const Case cases[] = {
        {"a|1\nb|2\n", {"a|1", "b|2"}, "a|1\r\nb|2\r\n"},             // LF only
        {"a|1\r\nb|2", {"a|1", "b|2"}, "a|1\r\nb|2\r\n"},             // no final line break
        {"\r\n", {""}, "\r\n"},                                       // one empty line
        {"", {}, ""},                                                 // no profiles
        {"x\ry\r\n", {"x\ry"}, "x\ry\r\n"},                           // a lone CR stays in the line
        {binary + "\r\n", {binary}, binary + "\r\n"},                 // binary bytes and invalid GBK
        {"|||||||||||||\n", {"|||||||||||||"}, "|||||||||||||\r\n"},  // 12 separators
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundTrip(c.bytes), c.lines);
        EXPECT_EQ(Read(), c.saved);
    }
}

TEST_F(ProfileFileTest, AOneMegabyteLineLoadsAndSavesWhole) {
    const std::string big(1 << 20, 'q');
    const auto lines = RoundTrip(big + "\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), big.size());
    EXPECT_EQ(Read(), big + "\r\n");
}

TEST_F(ProfileFileTest, MissingFileIsNotOpened) {
    EXPECT_FALSE(profiles::LoadProfileFile(files, path).has_value());
}

}  // namespace
