// A link opened through the desktop: a stand-in xdg-open first on PATH records each call and exits
// with the status the test chose.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ControlsDialog.h"
#include "fakes/GbkText.h"
#include "platform/shell/linux/XdgOpenShell.h"
#include "support/TempDir.h"

namespace controls_test {
namespace {

using fakes::FakeWindow;

class XdgOpenLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        oldPath = std::getenv("PATH") == nullptr ? "" : std::getenv("PATH");
        ::setenv("PATH", (dir.path.string() + ":" + oldPath).c_str(), 1);
    }
    void TearDown() override { ::setenv("PATH", oldPath.c_str(), 1); }
    void InstallXdgOpen(int exitStatus) const {
        const auto script = dir / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\necho \"$1\" >> '" << dir / "calls"
                              << "'\nexit " << exitStatus << "\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    }
    std::string Calls() const {
        std::ifstream in(dir / "calls");
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Clicks the link twice with the real shell; returns the message texts shown.
    std::vector<std::string> ClickTwice(const std::string& url) {
        fakes::FakeWindowHost host;
        platform_linux::XdgOpenShell shell;
        ControlsDialog dialog(host, shell);
        host.AddScript([&](FakeWindow& window) {
            dialog.link.SetLink(url, 0, 0);
            dialog.link.OnLButtonDown(0, {1, 1});
            dialog.link.OnLButtonDown(0, {1, 1});
            window.EndDialog(win::IDOK);
        });
        dialog.DoModal();
        std::vector<std::string> texts;
        for (const auto& box : host.MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }

    TempDir dir;
    std::string oldPath;
};

TEST_F(XdgOpenLinkTest, FailingXdgOpenShowsTheMessageOncePerClick) {
    InstallXdgOpen(4);
    EXPECT_EQ(ClickTwice("http://example.net/"),
              (std::vector<std::string>(2, fakes::Gbk("提供的超级链接无法访问!"))));
    EXPECT_EQ(Calls(), "http://example.net/\nhttp://example.net/\n");
}

TEST_F(XdgOpenLinkTest, SucceedingXdgOpenShowsNothing) {
    InstallXdgOpen(0);
    EXPECT_TRUE(ClickTwice("mailto:someone@example.net").empty());
    EXPECT_EQ(Calls(), "mailto:someone@example.net\nmailto:someone@example.net\n");
}

}  // namespace
}  // namespace controls_test
