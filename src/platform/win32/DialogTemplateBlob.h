#pragma once
// A dialog template of the program as the in-memory DLGTEMPLATEEX that DialogBoxIndirectParam reads:
// the same bytes a resource compiler writes for a DIALOGEX statement, with the texts in UTF-16.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window/DialogTemplate.h"

namespace win32 {

// The window class a control kind is made of.
const wchar_t* ControlClassName(win::ControlKind kind);

// WORDs, so the buffer is aligned as the dialog manager needs it.
std::vector<std::uint16_t> BuildDialogTemplateBlob(const win::DialogTemplate& dialogTemplate);

}  // namespace win32
