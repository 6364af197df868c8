// Compiled with GBK as the execution character set: the messages are the program's own bytes.
#include "services/UpdateCheckWorker.h"

#include "services/AppMessageBox.h"
#include "services/UpdateCheck.h"

namespace services {

namespace {

// How often the owner asks a worker that has not ended yet to close again: its first request is lost
// when it came before the worker's thread could receive messages.
constexpr std::chrono::milliseconds kAskAgainInterval{100};

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
    // A dialog that closed while the check ran is not told anything, nor closed a second time.
    if (!link.IsDialogOpen())
        return 0;

    AppMessageBox(context.window, AnnouncementText(link.versionText));
    if (context.shell.ShellExecute(nullptr, "open", context.homepageUrl, "", "", win::SW_SHOW) <= 32) {
        AppMessageBox(context.window, "无法连接到软件主页!");
    }
    link.SendCloseToDialog();
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
    if (!link_->WaitWorkerFinished(kAskAgainInterval * 2)) {
        do {
            system_.PostThreadMessage(link_->WorkerThreadId(), win::WM_CLOSE, 0, 0);
        } while (!link_->WaitWorkerFinished(kAskAgainInterval));
    }
    thread_.join();
}

void UpdateCheckThread::DialogClosing() {
    link_->DialogClosing();
}

}  // namespace services
