#include "platform/registry/linux/XdgAutostartProvider.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using platform_linux::DesktopExecArguments;
using platform_linux::DesktopExecFor;
using platform_linux::XdgAutostartProvider;
using winreg::RegistryValue;

TEST(DesktopExec, PathsSurviveTheRoundTrip) {
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/ostrelle/tarnquill.bin", "/opt/ostrelle/tarnquill.bin"},
        {"/opt/my tools/tarnquill.bin", "\"/opt/my tools/tarnquill.bin\""},
        {"/opt/a\"b/x", "\"/opt/a\\\\\"b/x\""},
        {"/opt/$HOME/x", "\"/opt/\\\\$HOME/x\""},
        {"/opt/back\\slash", "\"/opt/back\\\\\\\\slash\""},
        {"/opt/100%/x", "/opt/100%%/x"},
        {"/opt/my 100%/x", "\"/opt/my 100%%/x\""},
        {"/opt/`cmd`/x", "\"/opt/\\\\`cmd\\\\`/x\""},
    };
    for (const auto& [path, exec] : cases) {
        EXPECT_EQ(DesktopExecFor(path), exec) << path;
        EXPECT_EQ(DesktopExecArguments(DesktopExecFor(path)), std::vector<std::string>{path}) << path;
    }
}

TEST(DesktopExec, ArgumentsOfEntriesWrittenByOthers) {
    using Args = std::vector<std::string>;
    EXPECT_EQ(DesktopExecArguments("firefox %u"), Args{"firefox"});
    EXPECT_EQ(DesktopExecArguments("\"/opt/a b/run\" --min"), (Args{"/opt/a b/run", "--min"}));
    EXPECT_EQ(DesktopExecArguments("run  --min"), (Args{"run", "--min"}));
    EXPECT_EQ(DesktopExecArguments("\"a\\sb\""), Args{"a b"}) << "a string escape inside quotes";
    EXPECT_EQ(DesktopExecArguments("\"\""), Args{""});
    EXPECT_EQ(DesktopExecArguments("\"/opt/50%% off/run\" %f"), Args{"/opt/50% off/run"});
    EXPECT_FALSE(DesktopExecArguments("\"/opt/unterminated"));
}

class XdgAutostartProviderTest : public ::testing::Test {
  protected:
    static RegistryValue Sz(std::string_view text) {
        RegistryValue value;
        value.data.assign(text.begin(), text.end());
        value.data.push_back(0);
        return value;
    }
    std::string Read(const fs::path& file) const {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Runs check as an unprivileged user when the test runs as root, who may write anywhere.
    template <class F>
    void AsUnprivilegedUser(F check) {
        const bool root = ::geteuid() == 0;
        if (root) {
            ASSERT_EQ(::seteuid(65534), 0);
        }
        check();
        if (root) {
            ASSERT_EQ(::seteuid(0), 0);
        }
    }

    TempDir root;
    XdgAutostartProvider provider{root.path};
};

TEST_F(XdgAutostartProviderTest, ValueIsADesktopEntryWhoseCommandIsThePath) {
    ASSERT_EQ(provider.OpenKey("", win::KEY_ALL_ACCESS), win::ERROR_SUCCESS);
    ASSERT_EQ(provider.SetValue("", "tarnquill", Sz("/opt/my tools/tarnquill.bin")), win::ERROR_SUCCESS);
    const std::string entry = Read(root / "tarnquill.desktop");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=\"/opt/my tools/tarnquill.bin\"\n"), std::string::npos);
    EXPECT_EQ(
        fs::status(root / "tarnquill.desktop").permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);

    RegistryValue value;
    ASSERT_EQ(provider.QueryValue("", "TARNQUILL", value), win::ERROR_SUCCESS) << "names ignore letter case";
    EXPECT_EQ(value.type, win::REG_SZ);
    EXPECT_EQ(value.data, Sz("/opt/my tools/tarnquill.bin").data);

    ASSERT_EQ(provider.DeleteValue("", "tarnquill"), win::ERROR_SUCCESS);
    EXPECT_FALSE(fs::exists(root / "tarnquill.desktop"));
    EXPECT_EQ(provider.QueryValue("", "tarnquill", value), win::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(provider.DeleteValue("", "tarnquill"), win::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(std::distance(fs::directory_iterator(root.path), {}), 0) << "no temporary file left behind";
}

TEST_F(XdgAutostartProviderTest, EntriesTheSessionWouldNotStartAreMissing) {
    std::ofstream(root / "hidden.desktop") << "[Desktop Entry]\nExec=/bin/true\nHidden=true\n";
    std::ofstream(root / "noexec.desktop") << "[Desktop Entry]\nName=x\n";
    std::ofstream(root / "other.desktop") << "[Other Group]\nExec=/bin/true\n";
    RegistryValue value;
    for (const char* name : {"hidden", "noexec", "other", "absent"}) {
        EXPECT_EQ(provider.QueryValue("", name, value), win::ERROR_FILE_NOT_FOUND) << name;
    }
}

TEST_F(XdgAutostartProviderTest, FullAccessNeedsAWritableFolder) {
    fs::permissions(root.path, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    AsUnprivilegedUser([&] {
        EXPECT_EQ(provider.OpenKey("", win::KEY_ALL_ACCESS), win::ERROR_ACCESS_DENIED);
        EXPECT_EQ(provider.OpenKey("", win::KEY_READ), win::ERROR_SUCCESS);
    });
    fs::permissions(root.path, fs::perms::all);
    AsUnprivilegedUser([&] { EXPECT_EQ(provider.OpenKey("", win::KEY_ALL_ACCESS), win::ERROR_SUCCESS); });
}

TEST_F(XdgAutostartProviderTest, OnlyTheKeyItselfExists) {
    std::vector<std::string> names{"stale"};
    EXPECT_EQ(provider.ListSubKeys("", names), win::ERROR_SUCCESS);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(provider.OpenKey("Sub", win::KEY_READ), win::ERROR_FILE_NOT_FOUND);
    XdgAutostartProvider missing(root / "absent");
    EXPECT_EQ(missing.OpenKey("", win::KEY_READ), win::ERROR_FILE_NOT_FOUND);
}

}  // namespace
