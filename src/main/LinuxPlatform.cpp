#include "main/LinuxPlatform.h"

#include <filesystem>

namespace platform_linux {

LinuxPlatform::LinuxPlatform(const std::string& libraryFolder)
    : registry_(MakeLinuxRegistry()), libraries_(libraryFolder), platform_{windowHost_, system_, files_,
                                                                           *registry_,  shell_,  libraries_,
                                                                           inet_} {}

std::string ExecutableFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

}  // namespace platform_linux
