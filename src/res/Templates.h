#pragma once
// The dialog templates, as data.

#include "platform/window/DialogTemplate.h"

namespace res {

const win::DialogTemplate& MainDialogTemplate();   // IDD_MAIN, 102
const win::DialogTemplate& AboutDialogTemplate();  // IDD_ABOUTBOX, 100

}  // namespace res
