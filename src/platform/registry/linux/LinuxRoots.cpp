#include "platform/registry/linux/LinuxRoots.h"

#include <cstdlib>

namespace platform_linux {

namespace {

std::string EnvOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

}  // namespace

LinuxRoots RootsFromEnvironment() {
    return {EnvOr("OSTRELLE_SYSFS_ROOT", "/sys"), EnvOr("OSTRELLE_UDEV_ROOT", "/run/udev"),
            EnvOr("OSTRELLE_HIVE_PATH", "/var/lib/ostrelle/hive.sqlite"),
            EnvOr("OSTRELLE_RESOLV_CONF", "/etc/resolv.conf"),
            EnvOr("OSTRELLE_AUTOSTART_DIR", "/etc/xdg/autostart")};
}

}  // namespace platform_linux
