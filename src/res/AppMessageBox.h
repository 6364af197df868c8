#pragma once
// The application's plain message box: no owner window, an OK button, and the application's name as
// the caption. The program has no title string, so it is named after its executable, as the
// framework names an application without one.

#include <string_view>

#include "platform/window/WindowHost.h"
#include "res/StringTable.h"

namespace res {

inline constexpr std::string_view kAppTitle = "tarnquill";

inline void AfxMessageBox(win::WindowHost& window, std::string_view gbkText) {
    window.MessageBox(nullptr, gbkText, kAppTitle, win::MB_OK);
}

inline void AfxMessageBox(win::WindowHost& window, int stringId) {
    AfxMessageBox(window, LoadString(stringId));
}

}  // namespace res
