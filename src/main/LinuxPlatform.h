#pragma once
// The real services of the program on Linux, built once and handed to the application object. The
// program and anything that drives it end to end start from here, so they run the same components.

#include <memory>

#include "app/Platform.h"
#include "platform/dhcp/linux/LinuxDynamicLibraries.h"
#include "platform/file/linux/LinuxFileSystem.h"
#include "platform/inet/linux/CurlInet.h"
#include "platform/qt/QtWindowHost.h"
#include "platform/registry/linux/LinuxRegistry.h"
#include "platform/shell/linux/XdgOpenShell.h"
#include "platform/system/linux/LinuxSystem.h"

namespace platform_linux {

// Create it on the GUI thread after the QApplication.
class LinuxPlatform {
  public:
    // libraryFolder: where LoadLibrary looks first (the folder of libdhcpcsvc.so).
    explicit LinuxPlatform(const std::string& libraryFolder);

    app::Platform& Services() { return platform_; }
    qtwin::QtWindowHost& WindowHost() { return windowHost_; }

  private:
    LinuxSystem system_;
    LinuxFileSystem files_;
    std::unique_ptr<winreg::RegistryRouter> registry_;
    XdgOpenShell shell_;
    LinuxDynamicLibraries libraries_;
    CurlInet inet_;
    qtwin::QtWindowHost windowHost_;
    app::Platform platform_;
};

// The folder of the running executable, where the program's own libdhcpcsvc.so lies.
std::string ExecutableFolder();

}  // namespace platform_linux
