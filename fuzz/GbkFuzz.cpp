// Any bytes as GBK text: towards UTF-16 and back they must come out as they went in, since the window
// backend shows and takes text that way; towards UTF-8 and back they must merely not fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/text/Gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view gbk(reinterpret_cast<const char*>(data), size);
    if (text::Utf16ToGbk(text::GbkToUtf16(gbk)) != gbk)
        std::abort();
    text::Utf8ToGbk(text::GbkToUtf8(gbk));
    text::Utf8ToGbk(gbk);
    return 0;
}
