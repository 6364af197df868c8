#include "services/UpdateCheckLink.h"

namespace services {

UpdateCheckLink::UpdateCheckLink(std::atomic<win::ThreadId>& workerThreadId, win::HWND dialogWindow)
    : workerThreadId_(&workerThreadId), dialogWindow_(dialogWindow) {}

bool UpdateCheckLink::RecordWorkerThread(win::ThreadId id) {
    std::lock_guard lock(mutex_);
    recordedId_ = id;
    if (workerThreadId_ == nullptr)
        return false;
    workerThreadId_->store(id);
    return true;
}

bool UpdateCheckLink::IsDialogOpen() const {
    std::lock_guard lock(mutex_);
    return dialogWindow_ != nullptr;
}

bool UpdateCheckLink::SendCloseToDialog() {
    win::HWND window = nullptr;
    {
        // Not held across the send: the dialog's close sequence, which the send runs, takes it too.
        std::lock_guard lock(mutex_);
        window = dialogWindow_;
    }
    if (window == nullptr)
        return false;
    window->SendMessage(win::WM_CLOSE, 0, 0);
    return true;
}

void UpdateCheckLink::WorkerFinished() {
    std::lock_guard lock(mutex_);
    finished_ = true;
    finishedChanged_.notify_all();
}

void UpdateCheckLink::DialogClosing() {
    std::lock_guard lock(mutex_);
    workerThreadId_ = nullptr;
    dialogWindow_ = nullptr;
}

win::ThreadId UpdateCheckLink::WorkerThreadId() const {
    std::lock_guard lock(mutex_);
    return recordedId_;
}

bool UpdateCheckLink::WaitWorkerFinished(std::chrono::milliseconds interval) {
    std::unique_lock lock(mutex_);
    return finishedChanged_.wait_for(lock, interval, [this] { return finished_; });
}

}  // namespace services
