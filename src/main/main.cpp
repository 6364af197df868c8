// The program: the Linux services, the Qt window host, and the application object's start-up.
#include <QApplication>
#include <filesystem>
#include <memory>

#include "app/CorvaneApp.h"
#include "app/Platform.h"
#include "platform/dhcp/linux/LinuxDynamicLibraries.h"
#include "platform/file/linux/LinuxFileSystem.h"
#include "platform/inet/linux/CurlInet.h"
#include "platform/qt/QtWindowHost.h"
#include "platform/registry/linux/LinuxRegistry.h"
#include "platform/shell/linux/XdgOpenShell.h"
#include "platform/system/linux/LinuxSystem.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrelle"));

    platform_linux::LinuxSystem system;
    platform_linux::LinuxFileSystem files;
    const std::unique_ptr<platform_linux::LinuxRegistry> registry = platform_linux::MakeLinuxRegistry();
    platform_linux::XdgOpenShell shell;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
    platform_linux::LinuxDynamicLibraries libraries(executable.parent_path().string());
    platform_linux::CurlInet inet;
    qtwin::QtWindowHost windowHost;

    app::Platform platform{windowHost, system, files, *registry, shell, libraries, inet};
    app::CCorvaneApp corvane(platform);
    // InitInstance runs the main dialog and returns false: the program ends without a loop of its own.
    corvane.InitInstance();
    return 0;
}
