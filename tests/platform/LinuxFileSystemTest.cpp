#include "platform/file/linux/LinuxFileSystem.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

class LinuxFileSystemTest : public ::testing::Test {
  protected:
    std::string Path(const char* name) const { return dir / name; }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    TempDir dir;
    platform_linux::LinuxFileSystem files;
};

// Fails every write after the first piece, as a full disk would.
class InterruptedFileSystem : public platform_linux::LinuxFileSystem {
  protected:
    long WriteSome(int fd, const char* data, std::size_t size) override {
        if (writes++ > 0) {
            errno = ENOSPC;
            return -1;
        }
        return LinuxFileSystem::WriteSome(fd, data, size < 3 ? size : 3);
    }
    int writes = 0;
};

// Notes whether the file being written would be inherited by a program started meanwhile.
class InheritanceRecordingFileSystem : public platform_linux::LinuxFileSystem {
  public:
    bool inheritable = false;

  protected:
    long WriteSome(int fd, const char* data, std::size_t size) override {
        inheritable = inheritable || (::fcntl(fd, F_GETFD) & FD_CLOEXEC) == 0;
        return LinuxFileSystem::WriteSome(fd, data, size);
    }
};

TEST_F(LinuxFileSystemTest, TheFileBeingWrittenIsNotInheritedByStartedPrograms) {
    InheritanceRecordingFileSystem recording;
    ASSERT_TRUE(recording.ReplaceContents(Path("tarnquill"), "line\r\n"));
    EXPECT_FALSE(recording.inheritable);
}

TEST_F(LinuxFileSystemTest, ReplaceWritesExactBytesAndKeepsPermissions) {
    const std::string path = Path("tarnquill");
    Write(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(files.ReplaceContents(path, "new\r\n"));
    EXPECT_EQ(Read(path), "new\r\n");
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1)
        << "no temporary left";
}

TEST_F(LinuxFileSystemTest, InterruptedReplaceLeavesTheOldFileAndNoTemporary) {
    const std::string path = Path("tarnquill");
    Write(path, "old content\r\n");
    InterruptedFileSystem failing;
    EXPECT_FALSE(failing.ReplaceContents(path, std::string(1000, 'x')));
    EXPECT_EQ(Read(path), "old content\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST_F(LinuxFileSystemTest, ReadOnlyFileNeitherLoadsNorIsReplaced) {
    const std::string path = Path("tarnquill");
    Write(path, "keep");
    ::chmod(path.c_str(), 0444);
    EXPECT_TRUE(files.Exists(path));
    EXPECT_FALSE(files.ReadExisting(path).has_value());
    EXPECT_FALSE(files.ReplaceContents(path, "lost"));
    EXPECT_EQ(Read(path), "keep");
}

// A file the user may write but not read is not loaded, so it must not be replaced by the lines of a run
// that never saw its content.
TEST_F(LinuxFileSystemTest, FileThatCannotBeReadIsNeitherLoadedNorReplaced) {
    const std::string path = Path("tarnquill");
    Write(path, "keep");
    ::chmod(path.c_str(), 0222);
    fs::permissions(dir.path, fs::perms::all);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::seteuid(65534), 0);  // root could read it anyway
    }
    const bool loaded = files.ReadExisting(path).has_value();
    const bool replaced = files.ReplaceContents(path, "");
    if (root) {
        ASSERT_EQ(::seteuid(0), 0);
    }
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(Read(path), "keep");
}

TEST_F(LinuxFileSystemTest, DirectoryInPlaceOfTheFile) {
    const std::string path = Path("tarnquill");
    fs::create_directory(path);
    EXPECT_TRUE(files.Exists(path));
    EXPECT_FALSE(files.ReadExisting(path).has_value());
    EXPECT_FALSE(files.ReplaceContents(path, "x"));
    EXPECT_FALSE(files.OpenExclusiveAndDelete(path));
    EXPECT_TRUE(fs::is_directory(path));
}

TEST_F(LinuxFileSystemTest, AFifoInPlaceOfTheFilesIsRefusedWithoutWaitingForAReader) {
    const std::string path = Path("tarnquill");
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    EXPECT_FALSE(files.ReadExisting(path).has_value());
    EXPECT_FALSE(files.ReplaceContents(path, "x"));
    EXPECT_FALSE(files.OpenExclusiveAndDelete(path));
    EXPECT_FALSE(files.CreateEmpty(path));
    EXPECT_TRUE(fs::is_fifo(path));
}

TEST_F(LinuxFileSystemTest, MarkerIsCreatedEmptyAndDeleted) {
    const std::string path = Path("tarn");
    Write(path, "stale");
    ASSERT_TRUE(files.CreateEmpty(path));
    EXPECT_EQ(fs::file_size(path), 0u);
    EXPECT_TRUE(files.OpenExclusiveAndDelete(path));
    EXPECT_FALSE(files.Exists(path));
    EXPECT_FALSE(files.OpenExclusiveAndDelete(path));
}

TEST_F(LinuxFileSystemTest, GbkFileNamesBecomeUtf8OnDisk) {
    const std::string gbkName = dir / "\xB0\xEC\xB9\xAB";  // 办公
    ASSERT_TRUE(files.ReplaceContents(gbkName, "x"));
    EXPECT_TRUE(fs::exists(dir / "办公"));
    EXPECT_EQ(files.ReadExisting(gbkName).value_or(""), "x");
}

}  // namespace
