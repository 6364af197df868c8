#include "services/UpdateCheckLink.h"

#include "res/AppMessageBox.h"

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

template <class Call>
bool UpdateCheckLink::OnDialogThread(Call call) {
    win::HWND window = nullptr;
    {
        // Not held during the call: the dialog's close sequence, which the close request runs, takes it.
        std::lock_guard lock(mutex_);
        if (dialogWindow_ == nullptr)
            return false;
        window = dialogWindow_;
        waitingForDialogThread_ = true;
    }
    call(window);
    std::lock_guard lock(mutex_);
    waitingForDialogThread_ = false;
    finishedChanged_.notify_all();
    return true;
}

bool UpdateCheckLink::ShowAppMessage(win::WindowHost& host, std::string_view gbkText) {
    return OnDialogThread([&](win::HWND) { res::AfxMessageBox(host, gbkText); });
}

// Through the host, not the handle: the user may close the dialog between the check above and the
// call, and the host answers for a window that is gone instead of reaching into it.
bool UpdateCheckLink::SendCloseToDialog(win::WindowHost& host) {
    return OnDialogThread([&host](win::HWND window) { host.SendMessage(window, win::WM_CLOSE, 0, 0); });
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

bool UpdateCheckLink::WorkerWaitsForDialogThread() const {
    std::lock_guard lock(mutex_);
    return waitingForDialogThread_;
}

}  // namespace services
