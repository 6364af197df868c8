#pragma once
// Where the Linux home finds the files it reads and writes. The shipped program uses the system's own;
// tests and the demo point each at a folder of their own through the environment. The program reads
// them when it makes its registry, and our libdhcpcsvc.so at each notification: the hive path is how
// both find the same pending settings (PendingTcpipSettings.h).

#include <filesystem>
#include <string>

namespace platform_linux {

struct LinuxRoots {
    std::string sysfs;                      // OSTRELLE_SYSFS_ROOT, else /sys
    std::string udev;                       // OSTRELLE_UDEV_ROOT, else /run/udev
    std::string hive;                       // OSTRELLE_HIVE_PATH, else /var/lib/ostrelle/hive.sqlite
    std::string resolvConf;                 // OSTRELLE_RESOLV_CONF, else /etc/resolv.conf
    std::filesystem::path autostartFolder;  // OSTRELLE_AUTOSTART_DIR, else /etc/xdg/autostart
};

// A variable that is unset or empty leaves its default.
LinuxRoots RootsFromEnvironment();

}  // namespace platform_linux
