// Start at logon over the real Run key of the Linux registry: the dialog's check box writes, reads and
// deletes the desktop entry in the autostart folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include "AppFixture.h"
#include "platform/registry/RegistryRouter.h"
#include "platform/registry/RegistrySchema.h"
#include "platform/registry/linux/XdgAutostartProvider.h"
#include "res/Resource.h"

namespace {

namespace fs = std::filesystem;
using fakes::FakeWindow;
using namespace res;

// Every key outside the Run key is missing.
class NoKeys : public winreg::RegistryProvider {
  public:
    win::LONG OpenKey(std::string_view, win::REGSAM) override { return win::ERROR_FILE_NOT_FOUND; }
    win::LONG ListSubKeys(std::string_view, std::vector<std::string>&) override {
        return win::ERROR_FILE_NOT_FOUND;
    }
    win::LONG QueryValue(std::string_view, std::string_view, winreg::RegistryValue&) override {
        return win::ERROR_FILE_NOT_FOUND;
    }
    win::LONG SetValue(std::string_view, std::string_view, const winreg::RegistryValue&) override {
        return win::ERROR_FILE_NOT_FOUND;
    }
    win::LONG DeleteValue(std::string_view, std::string_view) override { return win::ERROR_FILE_NOT_FOUND; }
};

class AutostartTest : public AppFixture {
  protected:
    void SetUp() override {
        autostart = dir / "autostart";
        fs::create_directories(dir / "my tools");
        fs::create_directories(autostart);
        system.modulePath = dir / "my tools/tarnquill.bin";
        linuxRegistry.Mount(winreg::kRunKeyPath,
                            std::make_unique<platform_linux::XdgAutostartProvider>(autostart));
    }
    void RunWithRunKey(fakes::FakeWindowHost::Script script) {
        host.AddScript(std::move(script));
        app::Platform withRunKey{host, system, files, linuxRegistry, shell, libraries, inet};
        app::CCorvaneApp application(withRunKey);
        application.InitInstance();
    }
    int Check(FakeWindow& dlg) const { return dlg.GetDlgItem(IDC_AUTOSTART)->GetCheck(); }
    fs::path Entry() const { return autostart / "tarnquill.desktop"; }
    std::string EntryText() const {
        std::ifstream in(Entry(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void WriteEntry(const std::string& exec) const {
        std::ofstream(Entry()) << "[Desktop Entry]\nType=Application\nName=tarnquill\nExec=" << exec << "\n";
    }

    fs::path autostart;
    winreg::RegistryRouter linuxRegistry{std::make_unique<NoKeys>()};
};

TEST_F(AutostartTest, CheckingCreatesTheEntryAndUncheckingDeletesIt) {
    RunWithRunKey([&](FakeWindow& dlg) {
        EXPECT_EQ(Check(dlg), win::BST_UNCHECKED);
        host.Click(dlg, IDC_AUTOSTART);
        host.CloseBox(dlg);
    });
    EXPECT_NE(EntryText().find("\nExec=\"" + system.modulePath + "\"\n"), std::string::npos) << EntryText();

    RunWithRunKey([&](FakeWindow& dlg) {
        EXPECT_EQ(Check(dlg), win::BST_CHECKED) << "the entry names this very executable";
        host.Click(dlg, IDC_AUTOSTART);
        host.CloseBox(dlg);
    });
    EXPECT_FALSE(fs::exists(Entry()));

    RunWithRunKey([&](FakeWindow& dlg) {
        EXPECT_EQ(Check(dlg), win::BST_UNCHECKED);
        host.CloseBox(dlg);
    });
}

TEST_F(AutostartTest, EntryForAnotherPathLeavesTheBoxUnchecked) {
    const std::string otherCase = dir / "my tools/TARNQUILL.BIN";
    for (const std::string& stored : {std::string("/opt/old/tarnquill.bin"), otherCase}) {
        WriteEntry(platform_linux::DesktopExecFor(stored));
        RunWithRunKey([&](FakeWindow& dlg) {
            EXPECT_EQ(Check(dlg), win::BST_UNCHECKED) << stored;
            host.CloseBox(dlg);
        });
    }
    // Checking replaces the old path with the present one.
    RunWithRunKey([&](FakeWindow& dlg) {
        host.Click(dlg, IDC_AUTOSTART);
        host.CloseBox(dlg);
    });
    EXPECT_NE(EntryText().find("Exec=\"" + system.modulePath + "\""), std::string::npos);
}

// Only a user who may write to the autostart folder can change it; anyone else sees the box unchecked,
// even when the entry names this executable, and clicking changes only the mark.
TEST_F(AutostartTest, FolderThatIsNotWritableLeavesTheEntryAlone) {
    WriteEntry(platform_linux::DesktopExecFor(system.modulePath));
    const std::string before = EntryText();
    fs::permissions(autostart, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir.path, fs::perms::all);
    fs::permissions(dir / "my tools", fs::perms::all);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::seteuid(65534), 0);  // root may write anywhere
    }
    RunWithRunKey([&](FakeWindow& dlg) {
        EXPECT_EQ(Check(dlg), win::BST_UNCHECKED);
        host.Click(dlg, IDC_AUTOSTART);
        EXPECT_EQ(Check(dlg), win::BST_CHECKED);
        host.Click(dlg, IDC_AUTOSTART);
        EXPECT_EQ(Check(dlg), win::BST_UNCHECKED);
        host.CloseBox(dlg);
    });
    if (root) {
        ASSERT_EQ(::seteuid(0), 0);
    }
    EXPECT_EQ(EntryText(), before);
    EXPECT_TRUE(host.MessageBoxes().empty()) << "no failure is reported";
}

}  // namespace
