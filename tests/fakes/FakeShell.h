#pragma once
// The shell of tests: records every open and answers with the result the test chose.

#include <string>
#include <vector>

#include "platform/shell/Shell.h"

namespace fakes {

struct ShellCall {
    win::HWND owner;
    std::string verb;
    std::string file;
};

class FakeShell : public win::Shell {
  public:
    std::intptr_t ShellExecute(win::HWND owner, std::string_view verb, std::string_view file,
                               std::string_view, std::string_view, int) override {
        calls.push_back({owner, std::string(verb), std::string(file)});
        return result;
    }

    std::intptr_t result = 42;
    std::vector<ShellCall> calls;
};

}  // namespace fakes
