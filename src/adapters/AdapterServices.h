#pragma once
// The platform services the adapter store works through, and the application message box its
// failures are reported in.

#include <string_view>

#include "platform/dhcp/DynamicLibrary.h"
#include "platform/registry/Registry.h"
#include "platform/window/WindowHost.h"

namespace adapters {

struct AdapterServices {
    win::Registry& registry;
    win::WindowHost& window;
    win::DynamicLibraries& libraries;
};

}  // namespace adapters
