#pragma once
// Watches an X display from outside the programs on it: the first top-level window a started process
// maps, and the first drawing into that window, seen through the DAMAGE extension. The same for every
// program, so nothing inside the programs is timed or changed.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

struct xcb_connection_t;

namespace bench {

struct FirstPaint {
    double milliseconds = 0;     // from the process's start to its first drawing into its window
    long residentKilobytes = 0;  // VmRSS of the process just after that first painted frame
    std::string title;           // of the window painted, to tell a main window from a message box
};

class FirstPaintWatcher {
  public:
    explicit FirstPaintWatcher(const std::string& display);
    ~FirstPaintWatcher();
    FirstPaintWatcher(const FirstPaintWatcher&) = delete;
    FirstPaintWatcher& operator=(const FirstPaintWatcher&) = delete;

    bool Usable() const { return usable_; }
    // Starts a process through `start` (which returns its id, or -1) and waits for its first drawing
    // into a top-level window it mapped; nothing when it ends first or the time runs out. The process is
    // left running: the caller ends it.
    std::optional<FirstPaint> TimeFirstPaint(const std::function<pid_t()>& start, pid_t& started,
                                             std::chrono::milliseconds patience);

  private:
    bool Connect(const std::string& display);
    void DropPendingEvents();
    std::string Title(unsigned window);
    std::optional<FirstPaint> WaitForPaint(pid_t process, std::chrono::steady_clock::time_point startedAt,
                                           std::chrono::milliseconds patience);

    xcb_connection_t* connection_ = nullptr;
    unsigned rootWindow_ = 0;
    unsigned char damageEvent_ = 0;
    bool usable_ = false;
};

// VmRSS of a process in kilobytes, read from /proc; 0 when it cannot be read.
long ResidentKilobytes(pid_t process);

}  // namespace bench
