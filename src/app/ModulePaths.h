#pragma once
// The files beside the executable are named by cutting its path: the profile file is the path less
// its last 4 characters (tarnquill.bin -> tarnquill), the auto-exit marker less its last 9
// (tarnquill.bin -> tarn). Characters are bytes of the GBK path.

#include <string>
#include <string_view>

namespace app {

constexpr std::size_t kModuleNameBufferSize = 260;

std::string CutPathTail(std::string_view path, std::size_t count);
inline std::string ProfileFilePathFor(std::string_view modulePath) {
    return CutPathTail(modulePath, 4);
}
inline std::string AutoExitMarkerPathFor(std::string_view modulePath) {
    return CutPathTail(modulePath, 9);
}

}  // namespace app
