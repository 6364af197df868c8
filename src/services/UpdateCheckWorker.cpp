#include "services/UpdateCheckWorker.h"

#include "res/Resource.h"
#include "res/StringTable.h"
#include "services/UpdateCheck.h"

namespace services {

namespace {

// How often the owner asks a worker that has not ended yet to close again: its first request is lost
// when it came before the worker's thread could receive messages.
constexpr std::chrono::milliseconds kAskAgainInterval{100};
// How many of those intervals the owner gives a worker that waits for the dialog's thread: one whose
// close request has just been handled returns at once; one stuck in a message box never will.
constexpr int kWaitsForDialogThread = 10;

}  // namespace

int UpdateCheckWorker(const UpdateCheckContext& context) {
    UpdateCheckLink& link = *context.link;
    if (!link.RecordWorkerThread(context.system.GetCurrentThreadId()))
        return 0;
    if (!context.inet.InternetCheckConnection(context.versionFileUrl, win::FLAG_ICC_FORCE_CONNECTION, 0))
        return 0;
    link.versionText = FetchUrlText(context.inet, context.system, context.versionFileUrl);
    if (!ShouldAnnounce(link.versionText, context.currentVersion))
        return 0;

    // A dialog that closed while the check ran, or while its message was shown, is not told anything
    // more, nor closed a second time.
    if (!link.ShowAppMessage(context.window, AnnouncementText(link.versionText)) || !link.IsDialogOpen())
        return 0;
    if (context.shell.ShellExecute(nullptr, "open", context.homepageUrl, "", "", win::SW_SHOW) <= 32) {
        if (!link.ShowAppMessage(context.window, res::LoadString(res::IDS_HOMEPAGE_UNREACHABLE)) ||
            !link.IsDialogOpen())
            return 0;
    }
    link.SendCloseToDialog(context.window);
    return 0;
}

UpdateCheckThread::UpdateCheckThread(UpdateCheckContext context)
    : link_(context.link), system_(context.system) {
    thread_ = std::thread([context = std::move(context)] {
        UpdateCheckWorker(context);
        context.link->WorkerFinished();
    });
}

UpdateCheckThread::~UpdateCheckThread() {
    link_->DialogClosing();
    int waitsForDialogThread = 0;
    bool finished = link_->WaitWorkerFinished(kAskAgainInterval * 2);
    while (!finished) {
        // This is the dialog's thread: a worker waiting for it cannot finish while it waits here. Such a
        // worker finds the dialog closing when it wakes and touches nothing but the link, so it is let go.
        if (link_->WorkerWaitsForDialogThread() && ++waitsForDialogThread > kWaitsForDialogThread) {
            thread_.detach();
            return;
        }
        system_.PostThreadMessage(link_->WorkerThreadId(), win::WM_CLOSE, 0, 0);
        finished = link_->WaitWorkerFinished(kAskAgainInterval);
    }
    thread_.join();
}

void UpdateCheckThread::DialogClosing() {
    link_->DialogClosing();
}

}  // namespace services
