#pragma once
// ShellExecuteA with a verb: opens a document, a web address or a mailto: target.

#include <cstdint>
#include <string_view>

#include "platform/window/Window.h"

namespace win {

class Shell {
  public:
    virtual ~Shell() = default;
    // Returns a value above 32 on success, as ShellExecuteA does. Texts are GBK.
    virtual std::intptr_t ShellExecute(HWND owner, std::string_view verb, std::string_view file,
                                       std::string_view parameters, std::string_view directory,
                                       int showCommand) = 0;
};

}  // namespace win
