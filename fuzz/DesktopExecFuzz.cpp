// The autostart entry's Exec value: any value must be read without fault, and the value written for a
// program path must read back as that path alone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/registry/linux/XdgAutostartProvider.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    platform_linux::DesktopExecArguments(bytes);
    // A path holds no NUL.
    if (bytes.find('\0') == std::string_view::npos) {
        const auto arguments = platform_linux::DesktopExecArguments(platform_linux::DesktopExecFor(bytes));
        if (!arguments || arguments->size() != 1 || (*arguments)[0] != bytes)
            std::abort();
    }
    return 0;
}
