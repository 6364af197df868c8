#pragma once
// The string table: every message, caption and label text the program shows outside its dialog
// templates, looked up by its IDS_ id from res/Resource.h, in GBK like all program text.

#include <string>
#include <string_view>

namespace res {

// LoadString: the text of a string resource, empty when there is none.
std::string LoadString(int stringId);

// The string with its "%1" replaced by argument.
std::string FormatString(int stringId, std::string_view argument);

}  // namespace res
