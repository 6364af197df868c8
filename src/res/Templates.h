#pragma once
// The dialog templates and the string table, as data.

#include <string>

#include "platform/window/DialogTemplate.h"

namespace res {

const win::DialogTemplate& MainDialogTemplate();   // IDD_MAIN, 102
const win::DialogTemplate& AboutDialogTemplate();  // IDD_ABOUTBOX, 100
// LoadString: the text of a string resource in GBK, empty when there is none.
std::string LoadString(int stringId);

}  // namespace res
