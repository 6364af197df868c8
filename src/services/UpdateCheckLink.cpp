#include "services/UpdateCheckLink.h"

#include "res/AppMessageBox.h"

namespace services {

UpdateCheckLink::UpdateCheckLink(win::HWND dialogWindow) : dialogWindow_(dialogWindow) {}

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
        workerChanged_.notify_all();
    }
    call(window);
    std::lock_guard lock(mutex_);
    waitingForDialogThread_ = false;
    workerChanged_.notify_all();
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
    workerChanged_.notify_all();
}

bool UpdateCheckLink::DialogClosing() {
    std::lock_guard lock(mutex_);
    const bool wasOpen = dialogWindow_ != nullptr;
    dialogWindow_ = nullptr;
    return wasOpen;
}

bool UpdateCheckLink::WaitWorkerFinished(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return workerChanged_.wait_for(lock, timeout, [this] { return finished_; });
}

bool UpdateCheckLink::WaitWorkerFinishedUnlessItWaits(std::chrono::milliseconds patience) {
    std::unique_lock lock(mutex_);
    for (;;) {
        workerChanged_.wait(lock, [this] { return finished_ || waitingForDialogThread_; });
        if (finished_)
            return true;
        // A call whose answer has just come returns at once; a message box the user can no longer see
        // never does.
        if (!workerChanged_.wait_for(lock, patience,
                                     [this] { return finished_ || !waitingForDialogThread_; }))
            return false;
    }
}

}  // namespace services
