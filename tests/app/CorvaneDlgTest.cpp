#include <gtest/gtest.h>

#include "AppFixture.h"
#include "fakes/GbkText.h"
#include "platform/registry/RegistrySchema.h"
#include "res/Resource.h"

namespace {

using fakes::FakeWindow;
using fakes::Gbk;
using namespace res;

using CorvaneDlgTest = AppFixture;

TEST_F(CorvaneDlgTest, PathsComeFromTheExecutablesPath) {
    WriteProfiles("a|0|x\r\n");
    std::ofstream(MarkerPath()).close();
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_EQ(app::profileLines, std::vector<std::string>{"a|0|x"});
        EXPECT_EQ(dlg.GetDlgItem(IDC_AUTO_EXIT)->GetCheck(), win::BST_CHECKED);
        EXPECT_EQ(Item(dlg, IDC_PROFILE_NAME).TextLimit(), 12);
        host.CloseBox(dlg);
    });
}

TEST_F(CorvaneDlgTest, FirstRunCreatesAnEmptyProfileFileAtClose) {
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_TRUE(app::profileLines.empty());
        host.CloseBox(dlg);
    });
    EXPECT_TRUE(std::filesystem::exists(ProfilePath()));
    EXPECT_EQ(ReadProfiles(), "");
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(CorvaneDlgTest, LoadsThreeLinesInFileOrderAndSavesThemBack) {
    WriteProfiles("a|0|x\r\nb|1|y\nc|2|z\r\n");
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_EQ(app::profileLines, (std::vector<std::string>{"a|0|x", "b|1|y", "c|2|z"}));
        host.CloseBox(dlg);
    });
    EXPECT_EQ(ReadProfiles(), "a|0|x\r\nb|1|y\r\nc|2|z\r\n");
}

TEST_F(CorvaneDlgTest, EscapeEndsWithoutSavingEvenAfterChanges) {
    WriteProfiles("a|0|x\r\n");
    RunProgram([&](FakeWindow& dlg) {
        app::profileLines.emplace_back("added|1|y");
        dlg.GetDlgItem(IDC_AUTO_EXIT)->SetCheck(win::BST_CHECKED);
        host.PressEscape(dlg);
        EXPECT_EQ(dlg.EndResult(), win::IDCANCEL);
    });
    EXPECT_EQ(ReadProfiles(), "a|0|x\r\n");
    EXPECT_FALSE(std::filesystem::exists(MarkerPath()));
}

TEST_F(CorvaneDlgTest, AutoExitMarkerFollowsTheCheckBox) {
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_EQ(dlg.GetDlgItem(IDC_AUTO_EXIT)->GetCheck(), win::BST_UNCHECKED);
        host.Click(dlg, IDC_AUTO_EXIT);
        host.CloseBox(dlg);
    });
    ASSERT_TRUE(std::filesystem::exists(MarkerPath()));
    EXPECT_EQ(std::filesystem::file_size(MarkerPath()), 0u);

    RunProgram([&](FakeWindow& dlg) {
        EXPECT_EQ(dlg.GetDlgItem(IDC_AUTO_EXIT)->GetCheck(), win::BST_CHECKED);
        host.Click(dlg, IDC_AUTO_EXIT);
        host.CloseBox(dlg);
    });
    EXPECT_FALSE(std::filesystem::exists(MarkerPath()));
}

TEST_F(CorvaneDlgTest, SaveFailureShowsTheMessageAndTheOldFileSurvives) {
    WriteProfiles("old|0|x\r\n");
    std::filesystem::permissions(ProfilePath(), std::filesystem::perms::owner_read);
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_TRUE(app::profileLines.empty()) << "a read-only file is not loaded";
        app::profileLines.emplace_back("new|1|y");
        host.Click(dlg, IDC_AUTO_EXIT);
        host.CloseBox(dlg);
        EXPECT_EQ(dlg.EndResult(), win::IDCANCEL) << "the close goes on";
    });
    const auto boxes = host.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, Gbk("创建IP配置备份文件失败!"));
    EXPECT_EQ(boxes[0].caption, Gbk("提示"));
    EXPECT_EQ(boxes[0].type, win::MB_ICONERROR);
    EXPECT_NE(boxes[0].owner, nullptr);
    EXPECT_EQ(ReadProfiles(), "old|0|x\r\n");
    EXPECT_TRUE(std::filesystem::exists(MarkerPath())) << "the marker step still runs";
}

TEST_F(CorvaneDlgTest, ProfileFileThatIsADirectoryLoadsNothingAndFailsToSave) {
    std::filesystem::create_directory(ProfilePath());
    RunProgram([&](FakeWindow& dlg) {
        EXPECT_TRUE(app::profileLines.empty());
        host.CloseBox(dlg);
    });
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(ProfilePath()));
}

TEST_F(CorvaneDlgTest, CloseSequencePostsCloseToTheWorkerFirst) {
    RunProgram([&](FakeWindow& dlg) { host.CloseBox(dlg); });
    ASSERT_EQ(system.posted.size(), 1u);
    EXPECT_EQ(system.posted[0].message, win::WM_CLOSE);
    EXPECT_EQ(system.posted[0].thread, system.lastThreadId) << "to the worker's thread";
}

TEST_F(CorvaneDlgTest, SystemMenuGetsTheAboutItemAndIconsAreSet) {
    RunProgram([&](FakeWindow& dlg) {
        ASSERT_EQ(dlg.SystemMenu().size(), 2u);
        EXPECT_EQ(dlg.SystemMenu()[0].first, 0u);
        EXPECT_EQ(dlg.SystemMenu()[1].first, IDM_ABOUTBOX);
        EXPECT_EQ(dlg.SystemMenu()[1].second, Gbk("关于 Corvane(&A)..."));
        ASSERT_NE(dlg.BigIcon(), nullptr);
        EXPECT_EQ(fakes::FakeWindowHost::IconOf(dlg.BigIcon())->resourceId, IDR_MAINFRAME);
        EXPECT_EQ(dlg.SmallIcon(), dlg.BigIcon());
        host.CloseBox(dlg);
    });
}

TEST_F(CorvaneDlgTest, SystemMenuAboutCommandOpensTheAboutBox) {
    RunProgram([&](FakeWindow& dlg) {
        host.DialogOf(dlg)->OnSysCommand(IDM_ABOUTBOX | 0x3);
        host.CloseBox(dlg);
    });
    EXPECT_EQ(host.ModalTemplates(), (std::vector<int>{IDD_MAIN, IDD_ABOUTBOX}));
}

TEST_F(CorvaneDlgTest, SendingCloseFromAnotherThreadRunsTheCloseSequence) {
    RunProgram([&](FakeWindow& dlg) {
        app::profileLines.emplace_back("sent|0|x");
        std::thread worker([&] { dlg.SendMessage(win::WM_CLOSE, 0, 0); });
        worker.join();
        EXPECT_EQ(dlg.EndResult(), win::IDCANCEL);
    });
    EXPECT_EQ(ReadProfiles(), "sent|0|x\r\n");
}

// GetModuleFileNameA would cut a longer path to 259 bytes, and the cut path less 4 and less 9 characters
// names files of someone else's: the program then runs without its files and says so.
TEST_F(CorvaneDlgTest, PathTooLongForTheModuleBufferTouchesNoFileBesideIt) {
    const std::string folder = dir / std::string(270 - dir.path.string().size() - 1, 'f');
    system.modulePath = folder + "/tarnquill.bin";
    const std::string cut = system.modulePath.substr(0, 259);
    const std::string canaries[] = {cut.substr(0, 255), cut.substr(0, 250)};
    for (const auto& canary : canaries)
        std::ofstream(canary, std::ios::binary) << "canary\n";
    registry.CreateKey(winreg::kRunKeyPath);
    RunProgram([&](FakeWindow& dlg) {
        host.Click(dlg, IDC_AUTOSTART);
        EXPECT_TRUE(app::profileLines.empty());
        EXPECT_EQ(dlg.GetDlgItem(IDC_AUTO_EXIT)->GetCheck(), win::BST_UNCHECKED);
        app::profileLines.emplace_back("kept in memory|0|x");
        host.Click(dlg, IDC_AUTO_EXIT);
        host.CloseBox(dlg);
        EXPECT_EQ(dlg.EndResult(), win::IDCANCEL);
    });
    const auto boxes = host.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << "told once, at start";
    EXPECT_EQ(boxes[0].text, Gbk("程序所在路径太长或含有无法识别的字符，无法读取和保存IP配置!"));
    EXPECT_EQ(boxes[0].caption, Gbk("提示"));
    EXPECT_EQ(boxes[0].type, win::MB_ICONERROR);
    for (const auto& canary : canaries)
        EXPECT_EQ(dir.Read(std::filesystem::path(canary).filename().string()), "canary\n") << canary;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 2) << "nothing created";
    EXPECT_FALSE(registry.Get(winreg::kRunKeyPath, winreg::kRunValueName))
        << "no executable to start at logon";
}

}  // namespace
