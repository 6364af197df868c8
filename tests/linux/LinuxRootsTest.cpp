// The roots of the Linux home's files, which the program and libdhcpcsvc.so both take from the
// environment: each variable moves its own root and no other.
#include "platform/registry/linux/LinuxRoots.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

using platform_linux::LinuxRoots;
using platform_linux::RootsFromEnvironment;

struct Root {
    const char* variable;
    const char* systemPath;
    std::function<std::string(const LinuxRoots&)> of;
};

const Root kRoots[] = {
    {"OSTRELLE_SYSFS_ROOT", "/sys", [](const LinuxRoots& roots) { return roots.sysfs; }},
    {"OSTRELLE_UDEV_ROOT", "/run/udev", [](const LinuxRoots& roots) { return roots.udev; }},
    {"OSTRELLE_HIVE_PATH", "/var/lib/ostrelle/hive.sqlite",
     [](const LinuxRoots& roots) { return roots.hive; }},
    {"OSTRELLE_RESOLV_CONF", "/etc/resolv.conf", [](const LinuxRoots& roots) { return roots.resolvConf; }},
    {"OSTRELLE_AUTOSTART_DIR", "/etc/xdg/autostart",
     [](const LinuxRoots& roots) { return roots.autostartFolder.string(); }},
};

void UnsetAll() {
    for (const Root& root : kRoots)
        ::unsetenv(root.variable);
}

TEST(LinuxRoots, EachVariableChoosesItsOwnRootAndAnEmptyOneLeavesTheSystems) {
    for (const Root& chosen : kRoots) {
        for (const char* value : {"", "/tmp/ostrelle-root"}) {
            UnsetAll();
            ::setenv(chosen.variable, value, 1);
            const LinuxRoots roots = RootsFromEnvironment();
            for (const Root& root : kRoots) {
                const bool moved = &root == &chosen && *value != '\0';
                EXPECT_EQ(root.of(roots), moved ? value : root.systemPath)
                    << chosen.variable << "=\"" << value << "\" and " << root.variable;
            }
        }
    }
    UnsetAll();
}

}  // namespace
