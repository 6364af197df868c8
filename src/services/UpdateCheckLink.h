#pragma once
// What the update-check worker and the dialog share. Both own it, so it outlives whichever ends first.
// The worker reaches the dialog only through it, and every such use is refused once the dialog has begun
// its close sequence (or was ended without one): after that the dialog may be gone at any moment.
//
// Message boxes and the close request run on the dialog's thread while the worker waits. The link knows
// when the worker is waiting like that, because then the dialog's thread must not wait for the worker.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "platform/window/Window.h"
#include "platform/window/WindowHost.h"

namespace services {

class UpdateCheckLink {
  public:
    explicit UpdateCheckLink(win::HWND dialogWindow);

    // Worker side. Each returns false, having done nothing, once the dialog is closing.
    bool IsDialogOpen() const;
    // The application's message box; returns when the user has closed it.
    bool ShowAppMessage(win::WindowHost& host, std::string_view gbkText);
    // Sends WM_CLOSE to the dialog and returns when its close sequence has run.
    bool SendCloseToDialog(win::WindowHost& host);
    void WorkerFinished();

    // Dialog side, on the dialog's thread. DialogClosing is true only the first time.
    bool DialogClosing();
    bool WaitWorkerFinished(std::chrono::milliseconds timeout);
    // Waits for the worker to finish, but not for one that has been waiting for the dialog's thread
    // longer than patience: that one cannot finish while the dialog's thread waits here. False then.
    bool WaitWorkerFinishedUnlessItWaits(std::chrono::milliseconds patience);

    // The fetched text, kept here rather than in the dialog, which never reads it.
    std::string versionText;

  private:
    // Marks the worker as waiting for the dialog's thread while call runs; false, not running it, once
    // the dialog is closing.
    template <class Call>
    bool OnDialogThread(Call call);

    mutable std::mutex mutex_;
    std::condition_variable workerChanged_;
    win::HWND dialogWindow_;
    bool waitingForDialogThread_ = false;
    bool finished_ = false;
};

}  // namespace services
