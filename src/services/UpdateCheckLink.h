#pragma once
// What the update-check worker and the dialog share. Both own it, so it outlives whichever ends first.
// The worker reaches the dialog only through it, and every such use is refused once the dialog has begun
// its close sequence (or was ended without one): after that the dialog may be gone at any moment.
//
// Message boxes and the close request run on the dialog's thread while the worker waits. The link knows
// when the worker is waiting like that, because then the dialog's thread must not wait for the worker.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "platform/window/Window.h"
#include "platform/window/WindowHost.h"

namespace services {

class UpdateCheckLink {
  public:
    UpdateCheckLink(std::atomic<win::ThreadId>& workerThreadId, win::HWND dialogWindow);

    // Worker side. Each returns false, having done nothing, once the dialog is closing.
    bool RecordWorkerThread(win::ThreadId id);
    bool IsDialogOpen() const;
    // The application's message box; returns when the user has closed it.
    bool ShowAppMessage(win::WindowHost& window, std::string_view gbkText);
    // Sends WM_CLOSE to the dialog and returns when its close sequence has run.
    bool SendCloseToDialog(win::WindowHost& host);
    void WorkerFinished();

    // Dialog side, on the dialog's thread.
    void DialogClosing();
    win::ThreadId WorkerThreadId() const;
    bool WaitWorkerFinished(std::chrono::milliseconds interval);
    // Whether the worker is waiting for the dialog's thread (a message box, the close request).
    bool WorkerWaitsForDialogThread() const;

    // The fetched text, kept here rather than in the dialog, which never reads it.
    std::string versionText;

  private:
    // Marks the worker as waiting for the dialog's thread while call runs; false, not running it, once
    // the dialog is closing.
    template <class Call>
    bool OnDialogThread(Call call);

    mutable std::mutex mutex_;
    std::condition_variable finishedChanged_;
    std::atomic<win::ThreadId>* workerThreadId_;
    win::HWND dialogWindow_;
    win::ThreadId recordedId_ = 0;
    bool waitingForDialogThread_ = false;
    bool finished_ = false;
};

}  // namespace services
