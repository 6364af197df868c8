// The registry the program ships with.
#include <cstdlib>

#include "platform/registry/linux/AdapterClassProvider.h"
#include "platform/registry/linux/LinuxRegistry.h"
#include "platform/registry/linux/SqliteHive.h"
#include "platform/registry/linux/TcpipInterfacesProvider.h"
#include "platform/registry/linux/XdgAutostartProvider.h"
#include "platform/resolver/linux/ResolvConf.h"

namespace platform_linux {

namespace {

std::string EnvOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

}  // namespace

std::unique_ptr<LinuxRegistry> MakeLinuxRegistry() {
    const std::string hivePath = HivePath();
    auto registry = std::make_unique<LinuxRegistry>(std::make_unique<HiveProvider>(hivePath));
    registry->Mount(kAdapterClassKeyPath, std::make_unique<AdapterClassProvider>(
                                              MakeKernelLinkSource(), EnvOr("OSTRELLE_SYSFS_ROOT", "/sys"),
                                              EnvOr("OSTRELLE_UDEV_ROOT", "/run/udev")));
    registry->Mount(kTcpipInterfacesKeyPath,
                    std::make_unique<TcpipInterfacesProvider>(MakeKernelInterfaceState(ResolvConfPath()),
                                                              hivePath, kTcpipInterfacesKeyPath));
    // Programs started at logon are the desktop session's autostart entries.
    registry->Mount("Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                    std::make_unique<XdgAutostartProvider>(AutostartFolder()));
    return registry;
}

}  // namespace platform_linux
