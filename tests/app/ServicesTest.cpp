// The dialog's online and shell services: the help button, the About box and the update check's
// announcement.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "AppFixture.h"
#include "fakes/GbkText.h"
#include "res/BuildSettings.h"
#include "res/Resource.h"

namespace {

namespace fs = std::filesystem;
using fakes::FakeWindow;
using fakes::Gbk;
using namespace res;

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
        EXPECT_EQ(caseShell.calls[0].file, Gbk("使用说明.txt"));
        const auto boxes = caseHost.MessageBoxes();
        ASSERT_EQ(boxes.size(), c.message ? 1u : 0u) << c.shellResult;
        if (c.message) {
            EXPECT_EQ(boxes[0].text, Gbk("无法打开使用说明.txt!请确保它在当前目录下!"));
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
    EXPECT_EQ(boxes[0].text, Gbk("已推出最新的3.3版本，请到软件主页下载!"));
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
