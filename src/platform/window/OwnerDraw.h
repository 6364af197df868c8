#pragma once
// The owner-draw records a list or combo box hands to its owner, which reflects them to the control.

#include <cstdint>

#include "platform/window/DeviceContext.h"

namespace win {

struct DrawItemStruct {
    UINT ctlType = 0;
    int ctlId = 0;
    int itemId = -1;  // -1 for an empty list or an empty selection field
    UINT itemAction = 0;
    UINT itemState = 0;
    DeviceContext* dc = nullptr;
    Rect rcItem;
    std::uintptr_t itemData = 0;
};

struct MeasureItemStruct {
    UINT ctlType = 0;
    int ctlId = 0;
    int itemId = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    std::uintptr_t itemData = 0;
};

struct DeleteItemStruct {
    UINT ctlType = 0;
    int ctlId = 0;
    int itemId = 0;
    std::uintptr_t itemData = 0;
};

}  // namespace win
