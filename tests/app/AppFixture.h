#pragma once
// The program on the fake window host.

#include <gtest/gtest.h>

#include "app/CorvaneApp.h"
#include "app/CorvaneDlg.h"
#include "fakes/FakeWindowHost.h"
#include "support/ProgramFixture.h"

class AppFixture : public ProgramFixture<fakes::FakeWindowHost> {
  protected:
    // Runs the whole program with the user's actions in script.
    void RunProgram(fakes::FakeWindowHost::Script script) {
        host.AddScript(std::move(script));
        app::CCorvaneApp application(platform);
        EXPECT_FALSE(application.InitInstance());
    }
};
