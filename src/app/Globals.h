#pragma once
// The program-wide objects: constructed before start-up, alive until the process ends.

#include <string>
#include <vector>

#include "adapters/AdapterInfo.h"

namespace app {

// The discovered adapters: record i belongs to entry i of the adapter box.
extern adapters::AdapterList adapterList;

// The profile lines: line i belongs to entry i of the profile list box.
extern std::vector<std::string> profileLines;

}  // namespace app
