#pragma once
// The program's surroundings in a test, whichever window host shows it: fakes for every other platform
// service and the real file system, with the executable in a folder of the test's own, its profile
// file and auto-exit marker beside it, and no profile lines left from an earlier test.

#include <gtest/gtest.h>

#include <string>

#include "app/Globals.h"
#include "app/Platform.h"
#include "fakes/FakeServices.h"
#include "support/TempDir.h"

template <class Host>
class ProgramFixture : public ::testing::Test, protected fakes::FakeServices {
  protected:
    ProgramFixture() {
        system.modulePath = dir / "tarnquill.bin";
        app::profileLines.clear();
    }

    std::string ProfilePath() const { return dir / "tarnquill"; }
    std::string MarkerPath() const { return dir / "tarn"; }
    void WriteProfiles(const std::string& bytes) const { dir.Write("tarnquill", bytes); }
    std::string ReadProfiles() const { return dir.Read("tarnquill"); }

    TempDir dir;
    Host host;
    app::Platform platform = PlatformWith(host);
};
