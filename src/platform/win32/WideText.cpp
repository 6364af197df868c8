#include "WideText.h"

// Last: <windows.h> after the program's window headers.
#include "NativeWindows.h"

namespace win32 {

namespace {

constexpr UINT kGbkCodePage = 936;

std::wstring Widen(UINT codePage, std::string_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(UINT codePage, std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

}  // namespace

std::wstring WidenGbk(std::string_view gbkText) {
    return Widen(kGbkCodePage, gbkText);
}

std::string NarrowToGbk(std::wstring_view wideText) {
    return Narrow(kGbkCodePage, wideText);
}

std::string NarrowToUtf8(std::wstring_view wideText) {
    return Narrow(CP_UTF8, wideText);
}

std::wstring WidenUtf8(std::string_view utf8Text) {
    return Widen(CP_UTF8, utf8Text);
}

}  // namespace win32
