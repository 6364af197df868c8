#pragma once
// The main dialog: initialisation in its fixed order, painting, the close sequence and the command map.

#include <atomic>
#include <string>

#include "app/Platform.h"
#include "platform/window/CDialog.h"

namespace app {

class CCorvaneDlg : public win::CDialog {
public:
    explicit CCorvaneDlg(Platform& platform);

    Platform& GetPlatform() const { return platform_; }
    const std::string& ModulePath() const { return modulePath; }
    win::ThreadId WorkerThreadId() const { return workerThreadId.load(); }

    bool OnInitDialog() override;
    void OnSysCommand(win::UINT commandId) override;
    void OnPaint(win::DeviceContext& dc) override;
    win::HICON OnQueryDragIcon() override;
    void OnClose() override;
    void OnOK() override;
    void OnDestroy() override;

    // Commands (the command map routes the buttons and notifications here).
    void OnGetCurrentConfig();
    void OnSelectProfile();

protected:
    bool OnCmdMsg(int controlId, win::UINT notifyCode) override;

private:
    void DoDataExchange();
    void AddAboutMenuItem();
    void LoadProfiles();
    void SaveProfiles();
    void StoreAutoExitOption();

    Platform& platform_;
    std::string modulePath;
    win::HICON appIcon = nullptr;
    // Written by the update-check worker when it starts, read by the close sequence.
    std::atomic<win::ThreadId> workerThreadId{0};
    bool profileFileOpened_ = false;
};

}  // namespace app
