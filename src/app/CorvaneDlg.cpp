#include "app/CorvaneDlg.h"

#include "app/Background.h"
#include "app/Globals.h"
#include "app/ModulePaths.h"
#include "profiles/ProfileFile.h"
#include "res/Resource.h"
#include "res/StringTable.h"
#include "res/Templates.h"
#include "services/AboutDlg.h"

namespace app {

using namespace res;

namespace {

const win::CommandMapEntry<CCorvaneDlg> kCommandMap[] = {
    {win::BN_CLICKED, IDC_SWITCH, &CCorvaneDlg::OnSwitch},
    {win::BN_CLICKED, IDC_ADD, &CCorvaneDlg::OnAddProfile},
    {win::BN_CLICKED, IDC_MODIFY, &CCorvaneDlg::OnModifyProfile},
    {win::BN_CLICKED, IDC_DELETE, &CCorvaneDlg::OnDeleteProfile},
    {win::LBN_SELCHANGE, IDC_PROFILE_LIST, &CCorvaneDlg::OnSelectProfile},
    {win::BN_CLICKED, IDC_GET_CURRENT, &CCorvaneDlg::OnGetCurrentConfig},
    {win::CBN_SELCHANGE, IDC_ADAPTER_BOX, &CCorvaneDlg::ShowAdapterSettings},
    {win::BN_CLICKED, IDC_HELP_BUTTON, &CCorvaneDlg::OnHelp},
    {win::BN_CLICKED, IDC_ABOUT, &CCorvaneDlg::OnAbout},
    {win::BN_CLICKED, IDC_AUTOSTART, &CCorvaneDlg::OnAutostartClicked},
};

constexpr int kProfileNameLimit = 12;

}  // namespace

CCorvaneDlg::CCorvaneDlg(Platform& platform)
    : CDialog(platform.window, MainDialogTemplate()), platform_(platform) {
    appIcon = platform.window.LoadIcon(IDR_MAINFRAME, 0);
}

bool CCorvaneDlg::OnCmdMsg(int controlId, win::UINT notifyCode) {
    return win::DispatchCommand(*this, kCommandMap, controlId, notifyCode);
}

void CCorvaneDlg::DoDataExchange() {
    BindColorLabels();
    BindControls();
    if (win::HWND name = GetDlgItem(IDC_PROFILE_NAME))
        name->LimitText(kProfileNameLimit);
}

bool CCorvaneDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    DoDataExchange();
    AddAboutMenuItem();
    GetSafeHwnd()->SetIcon(appIcon, true);
    GetSafeHwnd()->SetIcon(appIcon, false);
    const auto executablePath = platform_.system.GetModuleFileName(kModuleNameBufferSize);
    modulePathUsable_ = executablePath.has_value();
    modulePath = executablePath.value_or("");
    SetLabelColors();

    StartUpdateCheck();
    SetContactLinks();
    SetButtonIcons();
    FillIconBox();
    OnGetCurrentConfig();
    ReadAutostartState();

    profileLines.clear();
    if (!modulePathUsable_) {
        // Switching still works; the profiles of this run live in memory only, since the names the
        // program would derive belong to other files.
        ShowPrompt(IDS_MODULE_PATH_UNUSABLE, win::MB_ICONERROR);
        return true;
    }
    profileFilePath = ProfileFilePathFor(modulePath);
    autoExitMarkerPath = AutoExitMarkerPathFor(modulePath);
    if (platform_.files.Exists(autoExitMarkerPath))
        CheckDlgButton(IDC_AUTO_EXIT, win::BST_CHECKED);
    LoadProfiles();
    return true;
}

void CCorvaneDlg::AddAboutMenuItem() {
    const std::string aboutMenu = LoadString(IDS_ABOUTBOX);
    if (!GetSafeHwnd()->HasSystemMenu() || aboutMenu.empty())
        return;
    GetSafeHwnd()->AppendSystemMenuSeparator();
    GetSafeHwnd()->AppendSystemMenuItem(IDM_ABOUTBOX, aboutMenu);
}

void CCorvaneDlg::LoadProfiles() {
    auto lines = profiles::LoadProfileFile(platform_.files, profileFilePath);
    profileFileOpened_ = lines.has_value();
    if (!profileFileOpened_)
        return;
    profileLines = std::move(*lines);
    if (profileLines.empty()) {
        OnGetCurrentConfig();
    } else {
        FillProfileList();
    }
}

void CCorvaneDlg::OnSysCommand(win::UINT commandId) {
    if ((commandId & 0xFFF0) == IDM_ABOUTBOX) {
        OnAbout();
        return;
    }
    Default();
}

void CCorvaneDlg::OnPaint(win::DeviceContext& dc) {
    if (!GetSafeHwnd()->IsIconic()) {
        PaintBackground(dc, GetSafeHwnd()->GetClientRect());
        return;
    }
    const win::Rect client = GetSafeHwnd()->GetClientRect();
    const int x = (client.Width() - GetHost().GetSystemMetrics(win::SM_CXICON) + 1) / 2;
    const int y = (client.Height() - GetHost().GetSystemMetrics(win::SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, appIcon);
}

win::HICON CCorvaneDlg::OnQueryDragIcon() {
    return appIcon;
}

void CCorvaneDlg::OnClose() {
    // From here on the worker must leave the dialog alone, and its thread is sent WM_CLOSE.
    if (updateCheck_)
        updateCheck_->DialogClosing();
    // Without a usable executable path there is nothing of ours to write; the user was told at start.
    if (modulePathUsable_) {
        SaveProfiles();
        StoreAutoExitOption();
    }
    CDialog::OnClose();
}

void CCorvaneDlg::SaveProfiles() {
    if (!profiles::SaveProfileFile(platform_.files, profileFilePath, profileLines)) {
        ShowPrompt(IDS_SAVE_PROFILES_FAILED, win::MB_ICONERROR);
    }
}

void CCorvaneDlg::StoreAutoExitOption() {
    // A marker that cannot be created or removed changes nothing else: the close goes on.
    if (IsDlgButtonChecked(IDC_AUTO_EXIT)) {
        platform_.files.CreateEmpty(autoExitMarkerPath);
    } else {
        platform_.files.OpenExclusiveAndDelete(autoExitMarkerPath);
    }
}

int CCorvaneDlg::ShowPrompt(int stringId, win::UINT type) {
    return MessageBox(LoadString(stringId), LoadString(IDS_PROMPT_CAPTION), type);
}

void CCorvaneDlg::OnOK() {}

// The adapter records live until the next refresh or until the window goes away.
void CCorvaneDlg::OnDestroy() {
    // Esc ends the dialog without the close sequence; the worker must leave it alone all the same.
    if (updateCheck_)
        updateCheck_->DialogClosing();
    adapterList.clear();
    CDialog::OnDestroy();
}

}  // namespace app
