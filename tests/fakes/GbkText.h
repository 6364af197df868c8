#pragma once
// Test sources are UTF-8, and the program's texts are GBK bytes: Gbk("...") is the program's form of a
// text written here, so a test compares the exact bytes the program shows or stores.

#include <string>
#include <string_view>

#include "platform/text/Gbk.h"

namespace fakes {

inline std::string Gbk(std::string_view utf8) {
    return text::Utf8ToGbk(utf8);
}

}  // namespace fakes
