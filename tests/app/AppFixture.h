#pragma once
// The program on fakes: the fake window host, a temporary folder for the executable's files, and the
// real file system.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/CorvaneApp.h"
#include "app/CorvaneDlg.h"
#include "app/Globals.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeWindowHost.h"
#include "platform/file/linux/LinuxFileSystem.h"

class AppFixture : public ::testing::Test, protected fakes::FakeServices {
  protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("ostrelle-app-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        system.modulePath = (dir / "tarnquill.bin").string();
        app::profileLines.clear();
    }
    void TearDown() override {
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(dir);
    }

    std::string ProfilePath() const { return (dir / "tarnquill").string(); }
    std::string MarkerPath() const { return (dir / "tarn").string(); }
    void WriteProfiles(const std::string& bytes) const {
        std::ofstream(ProfilePath(), std::ios::binary) << bytes;
    }
    std::string ReadProfiles() const {
        std::ifstream in(ProfilePath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Runs the whole program with the user's actions in script.
    void RunProgram(fakes::FakeWindowHost::Script script) {
        host.AddScript(std::move(script));
        app::CCorvaneApp application(platform);
        EXPECT_FALSE(application.InitInstance());
    }

    std::filesystem::path dir;
    fakes::FakeWindowHost host;
    app::Platform platform = PlatformWith(host);
};
