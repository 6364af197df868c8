#pragma once
// Every platform service of the program but the window host, as tests run it: fakes, plus the real
// file system on the test's own temporary folder. A fixture adds the window host it wants and makes
// the program's Platform from both.

#include <memory>

#include "app/Platform.h"
#include "fakes/FakeDynamicLibraries.h"
#include "fakes/FakeInet.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSystem.h"
#include "fakes/InMemoryRegistry.h"
#include "platform/file/NativeFileSystem.h"

namespace fakes {

struct FakeServices {
    app::Platform PlatformWith(win::WindowHost& host) {
        return {host, system, files, registry, shell, libraries, inet};
    }

    FakeSystem system;
    std::unique_ptr<win::FileSystem> nativeFiles = platform::MakeNativeFileSystem();
    win::FileSystem& files = *nativeFiles;
    InMemoryRegistry registry;
    FakeShell shell;
    FakeDynamicLibraries libraries;
    FakeInet inet;
};

}  // namespace fakes
