// The hive connection our libdhcpcsvc.so keeps between notifications: it must never answer from a file
// that is no longer the one at the hive's path, and must see what the program wrote since.
#include "platform/dhcp/linux/ResidentHive.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"

namespace {

using platform_linux::ResidentHive;
using platform_linux::SqliteHive;
using winreg::RegistryValue;
using State = ResidentHive::State;

std::string Text(const RegistryValue& value) {
    return {value.data.begin(), value.data.end()};
}

void Write(const std::string& path, const std::string& text) {
    auto hive = SqliteHive::Open(path);
    ASSERT_TRUE(hive);
    ASSERT_EQ(hive->Set("K", "v", {win::REG_SZ, {text.begin(), text.end()}}), win::ERROR_SUCCESS);
}

std::string Read(ResidentHive& resident) {
    RegistryValue value;
    return resident.Hive().Query("K", "v", value) == win::ERROR_SUCCESS ? Text(value) : "<none>";
}

TEST(ResidentHive, SeesWhatOthersWroteAndFollowsTheFileAtThePath) {
    TempDir dir;
    const std::string path = dir / "hive.sqlite";
    ResidentHive resident;
    EXPECT_EQ(resident.Open(path), State::kMissing) << "no file: nothing is pending, and none is made";
    EXPECT_FALSE(std::filesystem::exists(path));

    Write(path, "first");
    ASSERT_EQ(resident.Open(path), State::kOpen);
    SqliteHive* const kept = &resident.Hive();
    EXPECT_EQ(Read(resident), "first");
    Write(path, "second");  // the program's own connection, between two notifications
    ASSERT_EQ(resident.Open(path), State::kOpen);
    EXPECT_EQ(&resident.Hive(), kept) << "the same file keeps its connection";
    EXPECT_EQ(Read(resident), "second");

    // The file is replaced (a new folder of the same name, a restored backup): the old connection would
    // still read the removed file.
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-wal");
    std::filesystem::remove(path + "-shm");
    Write(path, "replaced");
    ASSERT_EQ(resident.Open(path), State::kOpen);
    EXPECT_EQ(Read(resident), "replaced");

    const std::string other = dir / "other.sqlite";
    Write(other, "other");
    ASSERT_EQ(resident.Open(other), State::kOpen);
    EXPECT_EQ(Read(resident), "other");

    std::filesystem::remove(other);
    EXPECT_EQ(resident.Open(other), State::kMissing);
}

// Pending values could hide behind either; only a file that is not there means none are pending.
TEST(ResidentHive, AFileThatIsNoHiveOrAPathThatCannotBeLookedAtIsUnreadable) {
    TempDir dir;
    dir.Write("hive.sqlite", std::string(4096, 'x'));
    ResidentHive resident;
    EXPECT_EQ(resident.Open(dir / "hive.sqlite"), State::kUnreadable);
    EXPECT_EQ(resident.Open(dir / "hive.sqlite/hive.sqlite"), State::kUnreadable);  // ENOTDIR
}

}  // namespace
