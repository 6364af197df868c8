#pragma once
// The update check's worker thread. Started once by the dialog's initialisation, it asks the product's
// web server for the newest version's number; when that differs from ours it tells the user, opens the
// homepage and closes the dialog, which saves the profiles. Every failure on the way ends it silently.

#include <memory>
#include <string>
#include <thread>

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

// The running worker, held by the dialog. Destroying it waits for the worker to end, which is prompt: a
// fetch in progress stops when its thread is sent WM_CLOSE, so the program never waits for the network
// on its way out, and no platform service is torn down under a running worker. Only a worker that waits
// for the dialog's own thread (a message box it could not show any more) is let go instead of waited for.
class UpdateCheckThread {
  public:
    explicit UpdateCheckThread(UpdateCheckContext context);
    ~UpdateCheckThread();
    UpdateCheckThread(const UpdateCheckThread&) = delete;
    UpdateCheckThread& operator=(const UpdateCheckThread&) = delete;

    // The dialog has begun its close sequence, or ends without one: the worker must leave it alone.
    void DialogClosing();

  private:
    std::shared_ptr<UpdateCheckLink> link_;
    win::System& system_;
    std::thread thread_;
};

}  // namespace services
