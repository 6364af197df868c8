#pragma once
// The application's plain message box: no owner window, an OK button, and the application's name as the
// caption. The program has no title string, so the framework names it after its executable.

#include <string_view>

#include "platform/window/WindowHost.h"

namespace services {

inline constexpr std::string_view kAppMessageCaption = "tarnquill";

inline void AppMessageBox(win::WindowHost& window, std::string_view gbkText) {
    window.MessageBox(nullptr, gbkText, kAppMessageCaption, win::MB_OK);
}

}  // namespace services
