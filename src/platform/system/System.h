#pragma once
// Process and thread services of the kernel the program calls by name.

#include <string>

#include "platform/window/WinTypes.h"

namespace win {

class System {
  public:
    virtual ~System() = default;
    // GetModuleFileNameA: the executable's full path in GBK, at most bufferSize - 1 bytes.
    virtual std::string GetModuleFileName(std::size_t bufferSize) = 0;
    virtual ThreadId GetCurrentThreadId() = 0;
    // PostThreadMessageA: false when no thread with a message queue has the id.
    virtual bool PostThreadMessage(ThreadId thread, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // timeGetTime: milliseconds since the system started, wrapping at 2^32.
    virtual DWORD GetTickCount() = 0;
};

}  // namespace win
