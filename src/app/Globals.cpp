#include "app/Globals.h"

namespace app {

adapters::AdapterList adapterList;
std::vector<std::string> profileLines;
std::string profileFilePath;
std::string autoExitMarkerPath;

}  // namespace app
