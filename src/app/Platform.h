#pragma once
// The platform services the program runs on, handed to the application object at start-up.

#include "platform/dhcp/DynamicLibrary.h"
#include "platform/file/FileSystem.h"
#include "platform/inet/Inet.h"
#include "platform/registry/Registry.h"
#include "platform/shell/Shell.h"
#include "platform/system/System.h"
#include "platform/window/WindowHost.h"

namespace app {

struct Platform {
    win::WindowHost& window;
    win::System& system;
    win::FileSystem& files;
    win::Registry& registry;
    win::Shell& shell;
    win::DynamicLibraries& libraries;
    win::Inet& inet;
};

}  // namespace app
