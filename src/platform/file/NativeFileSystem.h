#pragma once
// The file system of the machine the program runs on. Tests of the program layer use it for the files
// beside the executable without naming the platform home that provides it.

#include <memory>

#include "platform/file/FileSystem.h"

namespace platform {

std::unique_ptr<win::FileSystem> MakeNativeFileSystem();

}  // namespace platform
