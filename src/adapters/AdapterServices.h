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

// The caption of the application's own message boxes (no owner, OK button): the program's name.
inline constexpr std::string_view kAppMessageCaption = "tarnquill";

inline void ShowAppMessage(win::WindowHost& window, std::string_view gbkText) {
    window.MessageBox(nullptr, gbkText, kAppMessageCaption, win::MB_OK);
}

}  // namespace adapters
