// The dialog's side of the online and shell services: the update-check worker, start at logon, help and
// the About box.
#include "app/CorvaneDlg.h"
#include "res/AppMessageBox.h"
#include "res/BuildSettings.h"
#include "res/Resource.h"
#include "res/StringTable.h"
#include "res/Version.h"
#include "services/AboutDlg.h"
#include "services/Autostart.h"

namespace app {

void CCorvaneDlg::StartUpdateCheck() {
    auto link = std::make_shared<services::UpdateCheckLink>(GetSafeHwnd());
    updateCheck_ = std::make_unique<services::UpdateCheckThread>(services::UpdateCheckContext{
        std::move(link), platform_.inet, platform_.shell, platform_.window, platform_.system,
        res::kVersionFileUrl, res::UpdateCheckHomepageUrl(), res::kProgramVersion});
}

void CCorvaneDlg::ReadAutostartState() {
    if (services::IsAutostartSetFor(platform_.registry, modulePath)) {
        CheckDlgButton(res::IDC_AUTOSTART, win::BST_CHECKED);
    }
}

// The check box is automatic: the click has already toggled its mark. Without a usable module path
// there is no executable to name, so the Run value is left as it is.
void CCorvaneDlg::OnAutostartClicked() {
    if (!modulePathUsable_)
        return;
    services::StoreAutostart(platform_.registry, IsDlgButtonChecked(res::IDC_AUTOSTART), modulePath);
}

// The name carries no folder, so the file is looked for in the current directory, which is the
// executable's only when the program was started from there.
void CCorvaneDlg::OnHelp() {
    const std::string helpFile = res::LoadString(res::IDS_HELP_FILE);
    if (platform_.shell.ShellExecute(nullptr, "open", helpFile, "", "", win::SW_SHOW) <= 32) {
        res::AfxMessageBox(platform_.window, res::IDS_HELP_FILE_MISSING);
    }
}

void CCorvaneDlg::OnAbout() {
    services::CAboutDlg about(GetHost());
    about.DoModal(GetSafeHwnd());
}

}  // namespace app
