#pragma once
// The program's GBK texts as the UTF-16 of the wide Windows calls. Code page 936 is named, not the
// system's ANSI code page, so a dialog reads the same on a system set to any other language.

#include <string>
#include <string_view>

namespace win32 {

std::wstring WidenGbk(std::string_view gbkText);
// Characters code page 936 cannot hold become '?'.
std::string NarrowToGbk(std::wstring_view wideText);
std::string NarrowToUtf8(std::wstring_view wideText);
std::wstring WidenUtf8(std::string_view utf8Text);

}  // namespace win32
