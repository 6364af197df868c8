#pragma once
// The registry the Linux program ships with: the router with the adapter class key over the kernel's
// links, the TCP/IP interface keys over the kernel's live state with the program's writes held as
// pending settings, the Run key over the XDG autostart folder, and every other key in the hive.

#include <memory>

#include "platform/registry/RegistryRouter.h"

namespace platform_linux {

// Roots come from OSTRELLE_SYSFS_ROOT, OSTRELLE_UDEV_ROOT, OSTRELLE_HIVE_PATH, OSTRELLE_RESOLV_CONF and
// OSTRELLE_AUTOSTART_DIR.
std::unique_ptr<winreg::RegistryRouter> MakeLinuxRegistry();

}  // namespace platform_linux
