#pragma once
// A dialog template as data: what a resource script's DIALOG statement holds. Texts are GBK bytes.

#include <string>
#include <vector>

#include "platform/window/WinTypes.h"

namespace win {

enum class ControlKind {
    PushButton,  // BS_PUSHBUTTON or BS_DEFPUSHBUTTON, maybe BS_ICON
    CheckBox,    // BS_AUTOCHECKBOX
    GroupBox,    // BS_GROUPBOX
    Static,      // text label
    StaticIcon,  // SS_ICON picture; text names nothing, iconId does
    Edit,
    ListBox,
    ComboBox,
    IpAddress,  // window class "SysIPAddress32"
};

struct ControlTemplate {
    ControlKind kind = ControlKind::Static;
    int id = -1;                       // -1 for the unnamed statics (IDC_STATIC)
    std::string text;                  // GBK
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    DWORD style = 0;                   // full window style, WS_CHILD | WS_VISIBLE included
    DWORD exStyle = 0;
    int iconId = 0;  // for StaticIcon
};

struct DialogTemplate {
    int id = 0;
    std::string caption;  // GBK
    int cx = 0, cy = 0;   // dialog units
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string fontFace;  // GBK, "宋体"
    int fontPointSize = 9;
    std::vector<ControlTemplate> controls;  // in tab order

    const ControlTemplate* Find(int controlId) const {
        for (const auto& c : controls) {
            if (c.id == controlId)
                return &c;
        }
        return nullptr;
    }
};

}  // namespace win
