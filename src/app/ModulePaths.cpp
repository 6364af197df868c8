#include "app/ModulePaths.h"

namespace app {

std::string CutPathTail(std::string_view path, std::size_t count) {
    // A path shorter than the cut leaves nothing rather than reading before its start.
    return std::string(path.substr(0, path.size() > count ? path.size() - count : 0));
}

}  // namespace app
