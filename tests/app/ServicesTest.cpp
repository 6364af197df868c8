// The dialog's online and shell services: start at logon over the real Run key of the Linux registry, the
// help button, the About box and the update check's announcement.
#include <gtest/gtest.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "AppFixture.h"
#include "platform/registry/linux/LinuxRegistry.h"
#include "platform/registry/linux/XdgAutostartProvider.h"
#include "res/BuildSettings.h"
#include "res/Resource.h"
#include "services/Autostart.h"

namespace {

namespace fs = std::filesystem;
using fakes::FakeWindow;
using namespace res;

// Every key outside the Run key is missing.
class NoKeys : public platform_linux::RegistryProvider {
  public:
    win::LONG OpenKey(std::string_view, win::REGSAM) override { return win::ERROR_FILE_NOT_FOUND; }
    win::LONG ListSubKeys(std::string_view, std::vector<std::string>&) override {
        return win::ERROR_FILE_NOT_FOUND;
    }
    win::LONG QueryValue(std::string_view, std::string_view, platform_linux::RegistryValue&) override {
        return win::ERROR_FILE_NOT_FOUND;
    }
    win::LONG SetValue(std::string_view, std::string_view, const platform_linux::RegistryValue&) override {
        return win::ERROR_FILE_NOT_FOUND;
    }
    win::LONG DeleteValue(std::string_view, std::string_view) override { return win::ERROR_FILE_NOT_FOUND; }
};

class AutostartTest : public AppFixture {
  protected:
    void SetUp() override {
        fs::create_directories(dir / "my tools");
        fs::create_directories(autostart);
        system.modulePath = dir / "my tools/tarnquill.bin";
        linuxRegistry.Mount(services::kRunKeyPath,
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

    fs::path autostart = dir / "autostart";
    platform_linux::LinuxRegistry linuxRegistry{std::make_unique<NoKeys>()};
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

using ServicesTest = AppFixture;

TEST_F(ServicesTest, HelpOpensTheInstructionsFromTheCurrentDirectory) {
    const struct {
        std::intptr_t shellResult;
        bool message;
    } cases[] = {{42, false}, {33, false}, {32, true}, {2, true}, {0, true}};
    for (const auto& c : cases) {
        fakes::FakeWindowHost caseHost;
        fakes::FakeShell caseShell;
        caseShell.result = c.shellResult;
        app::Platform casePlatform{caseHost, system, files, registry, caseShell, libraries, inet};
        caseHost.AddScript([&](FakeWindow& dlg) {
            caseHost.Click(dlg, IDC_HELP_BUTTON);
            caseHost.CloseBox(dlg);
        });
        app::CCorvaneApp(casePlatform).InitInstance();

        ASSERT_EQ(caseShell.calls.size(), 1u);
        EXPECT_EQ(caseShell.calls[0].owner, nullptr);
        EXPECT_EQ(caseShell.calls[0].verb, "open");
        EXPECT_EQ(caseShell.calls[0].file, "使用说明.txt");
        const auto boxes = caseHost.MessageBoxes();
        ASSERT_EQ(boxes.size(), c.message ? 1u : 0u) << c.shellResult;
        if (c.message) {
            EXPECT_EQ(boxes[0].text, "无法打开使用说明.txt!请确保它在当前目录下!");
            EXPECT_EQ(boxes[0].owner, nullptr);
            EXPECT_EQ(boxes[0].type, win::MB_OK);
        }
    }
}

TEST_F(ServicesTest, AboutButtonAndMenuItemShowTheAboutBox) {
    RunProgram([&](FakeWindow& dlg) {
        host.Click(dlg, IDC_ABOUT);
        host.DialogOf(dlg)->OnSysCommand(IDM_ABOUTBOX);
        host.CloseBox(dlg);
    });
    EXPECT_EQ(host.ModalTemplates(), (std::vector<int>{IDD_MAIN, IDD_ABOUTBOX, IDD_ABOUTBOX}));
}

// Remembers how many message boxes had been shown when the shell was asked to open something.
class OrderedShell : public fakes::FakeShell {
  public:
    explicit OrderedShell(fakes::FakeWindowHost& host) : host_(host) {}
    std::intptr_t ShellExecute(win::HWND owner, std::string_view verb, std::string_view file,
                               std::string_view p, std::string_view d, int show) override {
        boxesBefore.push_back(host_.MessageBoxes().size());
        return FakeShell::ShellExecute(owner, verb, file, p, d, show);
    }
    std::vector<std::size_t> boxesBefore;

  private:
    fakes::FakeWindowHost& host_;
};

// Holds the connection check until the test lets it go, so the user acts before the news arrives.
class GatedInet : public fakes::FakeInet {
  public:
    bool InternetCheckConnection(std::string_view url, win::DWORD flags, win::DWORD reserved) override {
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [this] { return open_; });
        return FakeInet::InternetCheckConnection(url, flags, reserved);
    }
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        opened_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

TEST_F(ServicesTest, NewerVersionIsAnnouncedThenTheHomepageOpensAndTheDialogClosesAndSaves) {
    WriteProfiles("office|1|eth0|10.0.0.5|255.0.0.0|10.0.0.1|10.0.0.2|\r\n");
    GatedInet gatedInet;
    gatedInet.reachable = true;
    gatedInet.pieces = {"3.3"};
    OrderedShell orderedShell(host);
    app::Platform withShell{host, system, files, registry, orderedShell, libraries, gatedInet};
    std::optional<int> ended;
    host.AddScript([&](FakeWindow& dlg) {
        app::profileLines.emplace_back("home|2|eth0|192.168.1.9|255.255.255.0|192.168.1.1||");
        host.Click(dlg, IDC_AUTO_EXIT);
        gatedInet.Open();
        // The user leaves the dialog alone; the worker closes it.
        for (int i = 0; i < 3000 && !ended; ++i) {
            {
                std::lock_guard lock(host.DispatchMutex());
                ended = dlg.EndResult();
            }
            if (!ended)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    app::CCorvaneApp(withShell).InitInstance();

    ASSERT_TRUE(ended) << "the worker closed the dialog";
    const auto boxes = host.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "已推出最新的3.3版本，请到软件主页下载!");
    ASSERT_EQ(orderedShell.calls.size(), 1u);
    EXPECT_EQ(orderedShell.calls[0].file, std::string(kHomepageUrl) + "/")
        << "the server's root, slash included";
    EXPECT_EQ(orderedShell.boxesBefore, std::vector<std::size_t>{1})
        << "the homepage opens after the message";
    EXPECT_EQ(gatedInet.checkedUrl, kVersionFileUrl);
    EXPECT_EQ(ReadProfiles(),
              "office|1|eth0|10.0.0.5|255.0.0.0|10.0.0.1|10.0.0.2|\r\n"
              "home|2|eth0|192.168.1.9|255.255.255.0|192.168.1.1||\r\n")
        << "the close sequence saved the profiles";
    EXPECT_TRUE(fs::exists(MarkerPath()));
}

}  // namespace
