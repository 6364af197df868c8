#include "app/Globals.h"

namespace app {

std::vector<std::string> profileLines;
std::string profileFilePath;
std::string autoExitMarkerPath;

}  // namespace app
