#include "platform/file/linux/LinuxFileSystem.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

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

    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path))
            names.insert(entry.path().filename().string());
        return names;
    }

    TempDir dir;
    platform_linux::LinuxFileSystem files;
};

// Killed part-way through writing, as kill -9 ends a save.
class KilledFileSystem : public platform_linux::LinuxFileSystem {
  protected:
    long WriteSome(int fd, const char* data, std::size_t size) override {
        LinuxFileSystem::WriteSome(fd, data, size / 2);
        ::raise(SIGKILL);
        return -1;
    }
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

TEST_F(LinuxFileSystemTest, ReadsEveryByteOfFilesOfAnySize) {
    for (const std::size_t size : {0u, 1u, 65536u, 200003u}) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 7 % 256);  // NULs, CR LF and GBK lead bytes among them
        const std::string path = Path("profiles");
        Write(path, bytes);
        EXPECT_EQ(files.ReadExisting(path), bytes) << size << " bytes";
    }
}

TEST_F(LinuxFileSystemTest, GbkFileNamesBecomeUtf8OnDisk) {
    const std::string gbkName = dir / "\xB0\xEC\xB9\xAB";  // 办公
    ASSERT_TRUE(files.ReplaceContents(gbkName, "x"));
    EXPECT_TRUE(fs::exists(dir / "办公"));
    EXPECT_EQ(files.ReadExisting(gbkName).value_or(""), "x");
}

// The program runs as root: a link in place of the profile file or the marker is refused by every
// operation, and whatever it points at stays as it was.
TEST_F(LinuxFileSystemTest, LinksInPlaceOfTheFilesAreNeverFollowed) {
    using Operation = std::function<bool(win::FileSystem&, const std::string&)>;
    const std::pair<const char*, Operation> operations[] = {
        {"load", [](auto& f, auto& p) { return f.ReadExisting(p).has_value(); }},
        {"save", [](auto& f, auto& p) { return f.ReplaceContents(p, "new\r\n"); }},
        {"set the marker", [](auto& f, auto& p) { return f.CreateEmpty(p); }},
        {"clear the marker", [](auto& f, auto& p) { return f.OpenExclusiveAndDelete(p); }},
    };
    const std::string canary = Path("canary");
    Write(canary, "canary\n");
    const std::string link = Path("tarnquill");
    for (const char* target : {"canary", "missing"}) {
        for (const auto& [what, operation] : operations) {
            fs::create_symlink(target, link);
            EXPECT_TRUE(files.Exists(link)) << what << " through a link to " << target;
            EXPECT_FALSE(operation(files, link)) << what << " through a link to " << target;
            EXPECT_TRUE(fs::is_symlink(link)) << what << " through a link to " << target;
            EXPECT_EQ(Read(canary), "canary\n") << what << " through a link to " << target;
            EXPECT_FALSE(fs::exists(Path("missing"))) << what << " through a link to " << target;
            fs::remove(link);
        }
    }
}

// What a killed save left is cleared by the next one: only regular files named as this program names
// its replacements, and none that a save running at the same time still holds.
TEST_F(LinuxFileSystemTest, SaveClearsLeftoversOfKilledSavesOnly) {
    Write(Path("tarnquill"), "old\r\n");
    Write(Path("canary"), "canary\n");
    for (const char* name : {"tarnquill.a1B2c3", "tarnquill.XXXXX9", "tarnquill.backup", "tarnquill.a1B2c",
                             "tarnquill.a1B2c3d", "tarnquill.a1-2c3", "tarnquillXa1B2c3", "other.a1B2c3"})
        Write(Path(name), "x");
    fs::create_symlink("canary", Path("tarnquill.L1nked"));
    fs::create_directory(Path("tarnquill.F0lder"));
    Write(Path("tarnquill.Held01"), "running save");
    const int held = ::open(Path("tarnquill.Held01").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    ASSERT_TRUE(files.ReplaceContents(Path("tarnquill"), "new\r\n"));
    ::close(held);

    EXPECT_EQ(Names(), (std::set<std::string>{"tarnquill", "canary", "tarnquill.backup", "tarnquill.a1B2c",
                                              "tarnquill.a1B2c3d", "tarnquill.a1-2c3", "tarnquillXa1B2c3",
                                              "other.a1B2c3", "tarnquill.L1nked", "tarnquill.F0lder",
                                              "tarnquill.Held01"}));
    EXPECT_EQ(Read(Path("canary")), "canary\n");
    EXPECT_EQ(Read(Path("tarnquill")), "new\r\n");
}

TEST_F(LinuxFileSystemTest, SaveKilledWhileWritingLeavesTheOldFileAndNothingElse) {
    const std::string path = Path("tarnquill");
    Write(path, "old\r\n");
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        KilledFileSystem killed;
        killed.ReplaceContents(path, std::string(1000, 'x'));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(Names(), std::set<std::string>{"tarnquill"});
    EXPECT_EQ(Read(path), "old\r\n");
}

}  // namespace
