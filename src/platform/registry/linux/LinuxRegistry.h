#pragma once
// The registry the Linux program ships with: the router with the adapter class key over the kernel's
// links, the TCP/IP interface keys over the kernel's live state with the program's writes held as
// pending settings, the Run key over the XDG autostart folder, and every other key in the hive.

#include <memory>

#include "platform/registry/RegistryRouter.h"

namespace platform_linux {

// The roots of its files come from the environment (LinuxRoots.h).
std::unique_ptr<winreg::RegistryRouter> MakeLinuxRegistry();

}  // namespace platform_linux
