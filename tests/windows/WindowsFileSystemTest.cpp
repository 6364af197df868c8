#include "platform/file/windows/WindowsFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

class WindowsFileSystemTest : public ::testing::Test {
  protected:
    TempDir dir;
    platform_windows::WindowsFileSystem files;
};

TEST_F(WindowsFileSystemTest, GbkNamesAreTheOsNamesAndContentRoundTrips) {
    // Joined as bytes: std::filesystem would read them in the system's ANSI code page.
    const std::string gbkPath = dir.path.string() + "\\\xB0\xEC\xB9\xAB\xCA\xD2";  // 办公室
    const std::string content = "a|b\r\n\xB0\xEC\r\n";
    ASSERT_TRUE(files.ReplaceContents(gbkPath, content));
    EXPECT_TRUE(fs::exists(dir.path / L"\u529E\u516C\u5BA4"));
    EXPECT_TRUE(files.Exists(gbkPath));
    EXPECT_EQ(files.ReadExisting(gbkPath), content);
    ASSERT_TRUE(files.ReplaceContents(gbkPath, "new"));
    EXPECT_EQ(files.ReadExisting(gbkPath), "new");
    std::string large(200003, '\0');  // more than one read's worth, with NULs among the bytes
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 7 % 256);
    ASSERT_TRUE(files.ReplaceContents(gbkPath, large));
    EXPECT_EQ(files.ReadExisting(gbkPath), large);
    ASSERT_TRUE(files.ReplaceContents(gbkPath, ""));
    EXPECT_EQ(files.ReadExisting(gbkPath), "");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);  // no leftovers
}

TEST_F(WindowsFileSystemTest, ReadOnlyFileIsNeitherLoadedNorReplaced) {
    dir.Write("profiles", "old");
    fs::permissions(dir.path / "profiles", fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_TRUE(files.Exists(dir / "profiles"));
    EXPECT_EQ(files.ReadExisting(dir / "profiles"), std::nullopt);
    EXPECT_FALSE(files.ReplaceContents(dir / "profiles", "new"));
    EXPECT_EQ(dir.Read("profiles"), "old");
    fs::permissions(dir.path / "profiles", fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(WindowsFileSystemTest, FolderIsNoFile) {
    fs::create_directory(dir.path / "folder");
    EXPECT_TRUE(files.Exists(dir / "folder"));
    EXPECT_EQ(files.ReadExisting(dir / "folder"), std::nullopt);
    EXPECT_FALSE(files.ReplaceContents(dir / "folder", "x"));
    EXPECT_FALSE(files.OpenExclusiveAndDelete(dir / "folder"));
    EXPECT_TRUE(fs::is_directory(dir.path / "folder"));
}

TEST_F(WindowsFileSystemTest, ExclusiveOpenFailsWhileTheFileIsOpenElsewhere) {
    EXPECT_FALSE(files.OpenExclusiveAndDelete(dir / "marker"));
    ASSERT_TRUE(files.CreateEmpty(dir / "marker"));
    {
        std::ifstream held(dir.path / "marker");
        ASSERT_TRUE(held.is_open());
        EXPECT_FALSE(files.OpenExclusiveAndDelete(dir / "marker"));
        EXPECT_TRUE(files.Exists(dir / "marker"));
    }
    EXPECT_TRUE(files.OpenExclusiveAndDelete(dir / "marker"));
    EXPECT_FALSE(files.Exists(dir / "marker"));
}

TEST_F(WindowsFileSystemTest, CreateEmptyTruncates) {
    dir.Write("marker", "something");
    ASSERT_TRUE(files.CreateEmpty(dir / "marker"));
    EXPECT_EQ(dir.Read("marker"), "");
}

}  // namespace
