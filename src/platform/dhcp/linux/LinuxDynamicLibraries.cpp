#include "platform/dhcp/linux/LinuxDynamicLibraries.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace platform_linux {

namespace {

std::string OwnExecutableDir() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : exe.parent_path().string();
}

// Windows adds ".dll" to a name without an extension; here a bare name becomes lib<name>.so.
std::string FileNameFor(std::string_view name) {
    if (name.find('/') != std::string_view::npos || name.find(".so") != std::string_view::npos) {
        return std::string(name);
    }
    return "lib" + std::string(name) + ".so";
}

}  // namespace

LinuxDynamicLibraries::LinuxDynamicLibraries(std::string executableDir)
    : executableDir_(executableDir.empty() ? OwnExecutableDir() : std::move(executableDir)) {}

win::HMODULE LinuxDynamicLibraries::LoadLibrary(std::string_view name) {
    const std::string fileName = FileNameFor(name);
    void* handle = nullptr;
    if (!executableDir_.empty() && fileName.find('/') == std::string::npos) {
        const std::string beside = executableDir_ + "/" + fileName;
        handle = ::dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (handle == nullptr)
        handle = ::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    return static_cast<win::HMODULE>(handle);
}

win::FARPROC LinuxDynamicLibraries::GetProcAddress(win::HMODULE module, std::string_view procName) {
    if (module == nullptr)
        return nullptr;
    const std::string symbol(procName);
    return reinterpret_cast<win::FARPROC>(::dlsym(module, symbol.c_str()));
}

bool LinuxDynamicLibraries::FreeLibrary(win::HMODULE module) {
    return module != nullptr && ::dlclose(module) == 0;
}

}  // namespace platform_linux
