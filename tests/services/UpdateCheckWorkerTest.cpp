#include "services/UpdateCheckWorker.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <future>
#include <mutex>

#include "LoopbackHttpServer.h"
#include "fakes/FakeInet.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeWindowHost.h"
#include "fakes/GbkText.h"
#include "platform/inet/linux/CurlInet.h"
#include "platform/system/linux/LinuxSystem.h"
#include "res/Templates.h"

namespace {

using fakes::FakeWindow;
using testing_http::LoopbackHttpServer;
using testing_http::MakeResponse;
using testing_http::Request;
using testing_http::Response;

constexpr const char* kHomepage = "http://127.0.0.1:9/";
constexpr std::chrono::seconds kBound{30};  // only a broken test waits this long

// A dialog that closes as the program's does: it lets go of the worker, which stops its thread, and ends.
class TestDialog : public win::CDialog {
  public:
    explicit TestDialog(win::WindowHost& host) : CDialog(host, res::AboutDialogTemplate()) {}
    void OnClose() override {
        ++closeCount;
        if (worker)
            worker->DialogClosing();
        CDialog::OnClose();
    }
    void OnDestroy() override {
        if (worker)
            worker->DialogClosing();
    }

    std::unique_ptr<services::UpdateCheckThread> worker;
    std::atomic<int> closeCount{0};
};

class UpdateCheckWorkerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
            ::unsetenv(name);
    }

    // Starts the worker inside the dialog's modal loop; user(window, link) plays the user meanwhile.
    void Run(win::Inet& inet, const std::string& versionUrl,
             const std::function<void(FakeWindow&, services::UpdateCheckLink&)>& user) {
        host.AddScript([&](FakeWindow& window) {
            auto link = std::make_shared<services::UpdateCheckLink>(&window);
            dialog.worker = std::make_unique<services::UpdateCheckThread>(
                services::UpdateCheckContext{link, inet, shell, host, system, versionUrl, kHomepage, "3.2"});
            user(window, *link);
        });
        dialog.DoModal();
        dialog.worker.reset();  // as the dialog's destruction does
    }
    // The user does nothing until the worker has ended.
    void RunUntilWorkerEnds(win::Inet& inet, const std::string& versionUrl) {
        Run(inet, versionUrl, [](FakeWindow&, services::UpdateCheckLink& link) {
            ASSERT_TRUE(link.WaitWorkerFinished(kBound));
        });
    }

    fakes::FakeWindowHost host;
    fakes::FakeShell shell;
    platform_linux::LinuxSystem system;
    platform_linux::CurlInet curl;
    TestDialog dialog{host};
};

struct VersionCase {
    const char* name;
    const char* status;
    std::vector<std::string> body;
    const char* announced;  // null: nothing happens
};

class VersionFromServer : public UpdateCheckWorkerTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionFromServer, AnnouncesOnlyAnotherThreeCharacterVersion) {
    const VersionCase& c = GetParam();
    LoopbackHttpServer server([&](const Request&) { return MakeResponse(c.status, c.body); });
    RunUntilWorkerEnds(curl, server.Url("/version/tarnquill.txt"));

    EXPECT_EQ(server.Requests().size(), 1u);
    const auto boxes = host.MessageBoxes();
    if (c.announced == nullptr) {
        EXPECT_TRUE(boxes.empty());
        EXPECT_TRUE(shell.calls.empty());
        EXPECT_EQ(dialog.closeCount, 0);
        return;
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].text,
              fakes::Gbk("已推出最新的" + std::string(c.announced) + "版本，请到软件主页下载!"));
    EXPECT_EQ(boxes[0].caption, "tarnquill");
    EXPECT_EQ(boxes[0].type, win::MB_OK);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].owner, nullptr);
    EXPECT_EQ(shell.calls[0].verb, "open");
    EXPECT_EQ(shell.calls[0].file, kHomepage);
    EXPECT_EQ(dialog.closeCount, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VersionFromServer,
    ::testing::Values(VersionCase{"Newer", "200 OK", {"3.3"}, "3.3"},
                      VersionCase{"Older", "200 OK", {"3.1"}, "3.1"},
                      VersionCase{"OneByteAtATime", "200 OK", {"3", ".", "3"}, "3.3"},
                      VersionCase{"Same", "200 OK", {"3.2"}, nullptr},
                      VersionCase{"FourCharacters", "200 OK", {"3.10"}, nullptr},
                      VersionCase{"WithLineBreak", "200 OK", {"3.3\r\n"}, nullptr},
                      VersionCase{"EmptyBody", "200 OK", {}, nullptr},
                      VersionCase{"NotFoundPage", "404 Not Found", {"<html>Not Found</html>"}, nullptr},
                      VersionCase{"ThreeByteNotFoundPage", "404 Not Found", {"404"}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdateCheckWorkerTest, HomepageThatCannotOpenIsReportedAndTheDialogClosesAllTheSame) {
    shell.result = 2;
    LoopbackHttpServer server([](const Request&) { return MakeResponse("200 OK", {"3.3"}); });
    RunUntilWorkerEnds(curl, server.Url("/version/tarnquill.txt"));
    const auto boxes = host.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, fakes::Gbk("无法连接到软件主页!"));
    EXPECT_EQ(boxes[1].owner, nullptr);
    EXPECT_EQ(dialog.closeCount, 1);
}

TEST_F(UpdateCheckWorkerTest, ServerDownEndsSilentlyAndLeavesTheDialogOpen) {
    const std::string url =
        "http://127.0.0.1:" + std::to_string(testing_http::UnusedLoopbackPort()) + "/version/tarnquill.txt";
    bool stillOpen = false;
    Run(curl, url, [&](FakeWindow& window, services::UpdateCheckLink& link) {
        ASSERT_TRUE(link.WaitWorkerFinished(kBound));
        stillOpen = !window.EndResult().has_value();
        host.CloseBox(window);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(dialog.closeCount, 1) << "the user's own close only";
}

// Whatever the server does (takes the request and never answers, sends without end, trickles), the program
// ends promptly, whether the dialog closes through its close sequence (which posts WM_CLOSE to the worker)
// or with Esc (which does not).
TEST_F(UpdateCheckWorkerTest, NoServerHoldsUpTheEnd) {
    Response endless = MakeResponse("200 OK", {});
    endless.forever = std::string(4096, 'x');
    Response trickle = MakeResponse("200 OK", {});
    trickle.forever = "x";
    trickle.foreverPause = std::chrono::milliseconds(20);
    Response silent;
    silent.neverAnswer = true;
    for (const Response& response : {silent, endless, trickle}) {
        for (const bool escape : {false, true}) {
            fakes::FakeWindowHost localHost;
            TestDialog localDialog(localHost);
            LoopbackHttpServer server([&](const Request&) { return response; });
            localHost.AddScript([&](FakeWindow& window) {
                auto link = std::make_shared<services::UpdateCheckLink>(&window);
                localDialog.worker = std::make_unique<services::UpdateCheckThread>(
                    services::UpdateCheckContext{link, curl, shell, localHost, system,
                                                 server.Url("/version/tarnquill.txt"), kHomepage, "3.2"});
                ASSERT_TRUE(server.WaitForRequests(1));
                if (escape) {
                    localHost.PressEscape(window);
                } else {
                    localHost.CloseBox(window);
                }
            });
            localDialog.DoModal();
            // Letting go of the worker returns once the fetch has given up. Were it to hang, the test could
            // not go on: it fails and ends the test program.
            const auto start = std::chrono::steady_clock::now();
            auto letGo = std::async(std::launch::async, [&] { localDialog.worker.reset(); });
            if (letGo.wait_for(kBound) != std::future_status::ready) {
                ADD_FAILURE() << "the worker kept the dialog from ending";
                std::_Exit(1);
            }
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
            EXPECT_TRUE(localHost.MessageBoxes().empty());
            EXPECT_TRUE(shell.calls.empty());
        }
    }
}

// Blocks the first read until the test lets it go, so the dialog can close while the fetch is under way.
class GatedInet : public fakes::FakeInet {
  public:
    bool InternetReadFile(win::HINTERNET file, void* buffer, win::DWORD size, win::DWORD* read) override {
        {
            std::unique_lock lock(mutex_);
            reading_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return open_; });
        }
        return FakeInet::InternetReadFile(file, buffer, size, read);
    }
    bool WaitUntilReading() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kBound, [this] { return reading_; });
    }
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool reading_ = false;
    bool open_ = false;
};

TEST_F(UpdateCheckWorkerTest, NewsArrivingAfterTheDialogClosedIsDropped) {
    GatedInet inet;
    inet.reachable = true;
    inet.pieces = {"3.3"};
    Run(inet, "http://example.test/version/tarnquill.txt",
        [&](FakeWindow& window, services::UpdateCheckLink& link) {
            ASSERT_TRUE(inet.WaitUntilReading());
            host.CloseBox(window);
            inet.Open();
            ASSERT_TRUE(link.WaitWorkerFinished(kBound));
        });
    EXPECT_TRUE(host.MessageBoxes().empty()) << "no announcement for a dialog that is gone";
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(dialog.closeCount, 1) << "and no second close";
}

// Holds every message box open until the test lets it close.
class HeldBoxHost : public fakes::FakeWindowHost {
  public:
    int MessageBox(win::HWND owner, std::string_view text, std::string_view caption,
                   win::UINT type) override {
        {
            std::unique_lock lock(mutex_);
            shown_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_; });
        }
        return FakeWindowHost::MessageBox(owner, text, caption, type);
    }
    bool WaitUntilShown() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kBound, [this] { return shown_; });
    }
    void Release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool shown_ = false;
    bool released_ = false;
};

// A worker whose message box waits for the dialog's thread cannot end while that thread waits for it; the
// dialog lets it go, and the worker, once its box returns, does nothing more.
TEST_F(UpdateCheckWorkerTest, WorkerWaitingForTheDialogThreadIsLetGo) {
    HeldBoxHost heldHost;
    TestDialog heldDialog(heldHost);
    fakes::FakeInet inet;
    inet.reachable = true;
    inet.pieces = {"3.3"};
    std::shared_ptr<services::UpdateCheckLink> link;
    heldHost.AddScript([&](FakeWindow& window) {
        link = std::make_shared<services::UpdateCheckLink>(&window);
        heldDialog.worker = std::make_unique<services::UpdateCheckThread>(
            services::UpdateCheckContext{link, inet, shell, heldHost, system,
                                         "http://example.test/version/tarnquill.txt", kHomepage, "3.2"});
        ASSERT_TRUE(heldHost.WaitUntilShown());
        heldHost.CloseBox(window);
    });
    heldDialog.DoModal();
    auto letGo = std::async(std::launch::async, [&] { heldDialog.worker.reset(); });
    if (letGo.wait_for(kBound) != std::future_status::ready) {
        ADD_FAILURE() << "the dialog waited for a worker that waits for it";
        std::_Exit(1);
    }
    heldHost.Release();
    ASSERT_TRUE(link->WaitWorkerFinished(kBound));
    EXPECT_TRUE(shell.calls.empty()) << "no homepage for a dialog that is gone";
    EXPECT_EQ(heldDialog.closeCount, 1) << "the user's close only";
}

}  // namespace
