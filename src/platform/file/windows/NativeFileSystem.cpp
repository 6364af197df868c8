#include "platform/file/NativeFileSystem.h"

#include "platform/file/windows/WindowsFileSystem.h"

namespace platform {

std::unique_ptr<win::FileSystem> MakeNativeFileSystem() {
    return std::make_unique<platform_windows::WindowsFileSystem>();
}

}  // namespace platform
