#include "app/Globals.h"

namespace app {

adapters::AdapterList adapterList;
std::vector<std::string> profileLines;

}  // namespace app
