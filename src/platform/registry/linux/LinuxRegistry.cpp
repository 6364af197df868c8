#include "platform/registry/linux/LinuxRegistry.h"

#include "platform/registry/RegistrySchema.h"
#include "platform/registry/linux/AdapterClassProvider.h"
#include "platform/registry/linux/LinuxRoots.h"
#include "platform/registry/linux/SqliteHive.h"
#include "platform/registry/linux/TcpipInterfacesProvider.h"
#include "platform/registry/linux/XdgAutostartProvider.h"

namespace platform_linux {

std::unique_ptr<winreg::RegistryRouter> MakeLinuxRegistry() {
    const LinuxRoots roots = RootsFromEnvironment();
    auto registry = std::make_unique<winreg::RegistryRouter>(std::make_unique<HiveProvider>(roots.hive));
    registry->Mount(winreg::kAdapterClassKeyPath,
                    std::make_unique<AdapterClassProvider>(MakeKernelLinkSource(), roots.sysfs, roots.udev));
    registry->Mount(
        winreg::kTcpipInterfacesKeyPath,
        std::make_unique<TcpipInterfacesProvider>(MakeKernelInterfaceState(roots.resolvConf), roots.hive));
    // Programs started at logon are the desktop session's autostart entries.
    registry->Mount(winreg::kRunKeyPath, std::make_unique<XdgAutostartProvider>(roots.autostartFolder));
    return registry;
}

}  // namespace platform_linux
