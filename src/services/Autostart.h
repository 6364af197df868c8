#pragma once
// Start at logon: the value "tarnquill" of the machine-wide Run key names the executable to start. The
// program keeps no setting of its own; the check box shows whether the value names this very executable.

#include <string_view>

#include "platform/registry/Registry.h"

namespace services {

// Whether the Run value holds exactly modulePath (byte for byte, letter case included). A key that cannot
// be opened with full access, a missing value and one longer than 255 bytes all answer false.
bool IsAutostartSetFor(win::Registry& registry, std::string_view modulePath);

// Writes modulePath as the Run value, or deletes the value; a key that cannot be opened changes nothing.
void StoreAutostart(win::Registry& registry, bool enabled, std::string_view modulePath);

}  // namespace services
