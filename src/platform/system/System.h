#pragma once
// Process and thread services of the kernel the program calls by name.

#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "platform/window/WinTypes.h"

namespace win {

// A thread started by System::CreateThread: joined or detached by its owner.
struct StartedThread {
    std::thread thread;
    ThreadId id = 0;
};

class System {
  public:
    virtual ~System() = default;
    // GetModuleFileNameA: the executable's full path in GBK, at most bufferSize - 1 bytes. Nothing when
    // the whole path does not fit, or has a character GBK cannot hold: the cut or "?"-patched path that
    // GetModuleFileNameA would give names some other file, and the files beside the executable are
    // named from it.
    virtual std::optional<std::string> GetModuleFileName(std::size_t bufferSize) = 0;
    virtual ThreadId GetCurrentThreadId() = 0;
    // CreateThread: runs body on a new thread. The thread's message queue exists by the time this
    // returns, so not even the first message posted to it is lost. Windows gives a thread its queue only
    // at its first message call; the Windows home keeps the promise by having the new thread call
    // PeekMessage (PM_NOREMOVE) first thing and waiting for that before it returns.
    virtual StartedThread CreateThread(std::function<void()> body) = 0;
    // PostThreadMessageA: false when no thread with a message queue has the id.
    virtual bool PostThreadMessage(ThreadId thread, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // timeGetTime: milliseconds since the system started, wrapping at 2^32.
    virtual DWORD GetTickCount() = 0;
};

}  // namespace win
