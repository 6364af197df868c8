#pragma once
// The program-wide objects: constructed before start-up, alive until the process ends.

#include <string>
#include <vector>

namespace app {

// The profile lines: line i belongs to entry i of the profile list box.
extern std::vector<std::string> profileLines;
// The profile file and the auto-exit marker beside the executable; set by the dialog's initialisation.
extern std::string profileFilePath;
extern std::string autoExitMarkerPath;

}  // namespace app
