#include "platform/file/NativeFileSystem.h"

#include "platform/file/linux/LinuxFileSystem.h"

namespace platform {

std::unique_ptr<win::FileSystem> MakeNativeFileSystem() {
    return std::make_unique<platform_linux::LinuxFileSystem>();
}

}  // namespace platform
