#include "services/UpdateCheckWorker.h"

#include "res/Resource.h"
#include "res/StringTable.h"
#include "services/UpdateCheck.h"

namespace services {

namespace {

// How long the dialog's thread gives a worker that waits for it: one whose call has just been answered
// returns at once; one stuck in a message box never will.
constexpr std::chrono::seconds kPatienceWithWaitingWorker{1};

}  // namespace

int UpdateCheckWorker(const UpdateCheckContext& context) {
    UpdateCheckLink& link = *context.link;
    if (!link.IsDialogOpen())
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
    : link_(context.link),
      system_(context.system),
      worker_(system_.CreateThread([context = std::move(context)] {
          UpdateCheckWorker(context);
          context.link->WorkerFinished();
      })) {}

UpdateCheckThread::~UpdateCheckThread() {
    DialogClosing();
    // This is the dialog's thread: a worker waiting for it cannot finish while it waits here.
    if (link_->WaitWorkerFinishedUnlessItWaits(kPatienceWithWaitingWorker)) {
        worker_.thread.join();
    } else {
        worker_.thread.detach();
    }
}

void UpdateCheckThread::DialogClosing() {
    if (link_->DialogClosing())
        system_.PostThreadMessage(worker_.id, win::WM_CLOSE, 0, 0);
}

}  // namespace services
