#pragma once
// The update check's worker thread. Started once by the dialog's initialisation, it asks the product's
// web server for the newest version's number; when that differs from ours it tells the user, opens the
// homepage and closes the dialog, which saves the profiles. Every failure on the way ends it silently.
//
// How the two end: the dialog's close sequence (or its end by Esc, which skips that sequence) tells the
// link the dialog is closing, so the worker touches it no more, and posts WM_CLOSE once to the worker's
// thread, whose queue exists from the thread's start, so a fetch under way gives up. The dialog then
// waits for the worker, unless the worker waits for the dialog's thread (a message box): that one is let
// go, and when its box returns it finds the dialog closing and ends without touching anything else.

#include <memory>
#include <string>

#include "platform/inet/Inet.h"
#include "platform/shell/Shell.h"
#include "platform/system/System.h"
#include "platform/window/WindowHost.h"
#include "services/UpdateCheckLink.h"

namespace services {

struct UpdateCheckContext {
    std::shared_ptr<UpdateCheckLink> link;
    win::Inet& inet;
    win::Shell& shell;
    win::WindowHost& window;
    win::System& system;
    std::string versionFileUrl;
    std::string homepageUrl;
    std::string currentVersion;
};

// The thread function; returns the thread's exit code, 0.
int UpdateCheckWorker(const UpdateCheckContext& context);

// The running worker, held by the dialog. Destroying it waits for the worker to end, which is prompt, so
// the program never waits for the network on its way out and no platform service is torn down under a
// running worker.
class UpdateCheckThread {
  public:
    explicit UpdateCheckThread(UpdateCheckContext context);
    ~UpdateCheckThread();
    UpdateCheckThread(const UpdateCheckThread&) = delete;
    UpdateCheckThread& operator=(const UpdateCheckThread&) = delete;

    // The dialog has begun its close sequence, or ends without one: the worker must leave it alone and
    // stop fetching. Only the first call posts WM_CLOSE to the worker's thread.
    void DialogClosing();

  private:
    std::shared_ptr<UpdateCheckLink> link_;
    win::System& system_;
    win::StartedThread worker_;
};

}  // namespace services
