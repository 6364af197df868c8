#pragma once
// What the update-check worker and the dialog share. Both own it, so it outlives whichever ends first.
// The worker reaches the dialog only through it, and every such use is refused once the dialog has begun
// its close sequence (or was ended without one): after that the dialog may be gone at any moment.

#include <atomic>
// The duration types come with <condition_variable>: <chrono> itself does not compile with GBK as the
// execution character set (its "\u00b5s" suffix has no GBK form).
#include <condition_variable>
#include <mutex>
#include <string>

#include "platform/window/Window.h"

namespace services {

class UpdateCheckLink {
  public:
    UpdateCheckLink(std::atomic<win::ThreadId>& workerThreadId, win::HWND dialogWindow);

    // Worker side. Each returns false, having done nothing, once the dialog is closing.
    bool RecordWorkerThread(win::ThreadId id);
    bool IsDialogOpen() const;
    // Sends WM_CLOSE to the dialog and returns when its close sequence has run.
    bool SendCloseToDialog();
    void WorkerFinished();

    // Dialog side, on the dialog's thread.
    void DialogClosing();
    win::ThreadId WorkerThreadId() const;
    bool WaitWorkerFinished(std::chrono::milliseconds interval);

    // The fetched text, kept here rather than in the dialog, which never reads it.
    std::string versionText;

  private:
    mutable std::mutex mutex_;
    std::condition_variable finishedChanged_;
    std::atomic<win::ThreadId>* workerThreadId_;
    win::HWND dialogWindow_;
    win::ThreadId recordedId_ = 0;
    bool finished_ = false;
};

}  // namespace services
