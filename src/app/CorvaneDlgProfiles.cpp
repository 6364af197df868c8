// The profile commands: the right-hand controls edit one profile, which Add appends and Modify
// writes over the selected one; entry i of the profile list always belongs to line i.
#include <cstdio>

#include "app/AddressControls.h"
#include "app/CorvaneDlg.h"
#include "app/Globals.h"
#include "profiles/ProfileLine.h"
#include "res/Resource.h"
#include "res/StringTable.h"

namespace app {

using namespace res;

namespace {

constexpr int kCurrentConfigIcon = 3;
constexpr int kProfileControls[] = {IDC_MODIFY, IDC_DELETE, IDC_LABEL_MODIFY, IDC_LABEL_DELETE};

}  // namespace

int CCorvaneDlg::CurrentProfileIndex() const {
    return profileList.GetCurrentIndex();
}

void CCorvaneDlg::AddProfileEntry(const std::string& name, int iconNumber) {
    profileList.AddItem(name.c_str(), profileIcons.Get(iconNumber));
}

void CCorvaneDlg::InsertProfileEntry(int index, const std::string& name, int iconNumber) {
    profileList.InsertItem(index, name.c_str(), profileIcons.Get(iconNumber));
}

// An index that names no line (none selected, or past the end after the last entry was deleted)
// counts as no selection, so no command ever reaches past profileLines.
bool CCorvaneDlg::TakeSelectedProfile(int& index) const {
    index = CurrentProfileIndex();
    return index >= 0 && static_cast<std::size_t>(index) < profileLines.size();
}

std::string CCorvaneDlg::SelectedAdapterText() const {
    win::HWND box = GetDlgItem(IDC_ADAPTER_BOX);
    return box == nullptr ? std::string() : box->GetItemText(box->GetCurSel());
}

// A "|" in the name would split the line at another place when it is read back, moving every later
// field: such a name is refused, and the typed text stays in the edit for the user to change. The
// 0x7C that ends a character such as 東 is no "|" and is kept.
bool CCorvaneDlg::ComposeProfileFromControls(std::string& line, int& iconNumber) {
    profiles::IpProfile p;
    p.name = GetDlgItemText(IDC_PROFILE_NAME);
    if (!profiles::IsStorableName(p.name)) {
        ShowPrompt(IDS_NAME_HAS_SEPARATOR, win::MB_OK | win::MB_ICONINFORMATION);
        return false;
    }
    iconNumber = GetDlgItem(IDC_ICON_BOX)->GetCurSel();
    char icon[16];
    std::snprintf(icon, sizeof icon, "%d", iconNumber);
    p.iconNumberText = icon;
    p.adapter = SelectedAdapterText();
    for (const AddressControl& control : kAddressControls)
        p.settings.*control.field = GetDlgItemText(control.controlId);
    line = profiles::ComposeProfileLine(p);
    return true;
}

void CCorvaneDlg::ShowProfileButtons(bool show) {
    for (int id : kProfileControls)
        GetDlgItem(id)->ShowWindow(show ? win::SW_SHOW : win::SW_HIDE);
}

void CCorvaneDlg::OnSwitch() {
    int i = -1;
    if (!TakeSelectedProfile(i)) {
        ShowPrompt(IDS_SELECT_BEFORE_SWITCH, win::MB_OK | win::MB_ICONINFORMATION);
        return;
    }
    const profiles::IpProfile p = profiles::SplitProfileLine(profileLines[static_cast<std::size_t>(i)]);
    if (!ApplyToSelectedAdapter(p.settings)) {
        ShowPrompt(IDS_SWITCH_FAILED, win::MB_OK | win::MB_ICONERROR);
        return;
    }
    if (IsDlgButtonChecked(IDC_AUTO_EXIT)) {
        // Sent, not posted: the close sequence saves the profiles before this returns.
        GetSafeHwnd()->SendMessage(win::WM_CLOSE, 0, 0);
        return;
    }
    ShowPrompt(IDS_SWITCH_SUCCEEDED, win::MB_OK | win::MB_ICONINFORMATION);
}

void CCorvaneDlg::OnAddProfile() {
    std::string line;
    int icon = -1;
    if (!ComposeProfileFromControls(line, icon))
        return;
    profileLines.push_back(line);
    AddProfileEntry(profiles::SplitProfileLine(line).name, icon);
}

void CCorvaneDlg::OnModifyProfile() {
    int i = -1;
    if (!TakeSelectedProfile(i)) {
        ShowPrompt(IDS_SELECT_BEFORE_MODIFY, win::MB_OK | win::MB_ICONINFORMATION);
        return;
    }
    std::string line;
    int icon = -1;
    if (!ComposeProfileFromControls(line, icon))
        return;
    profileLines[static_cast<std::size_t>(i)] = line;
    GetDlgItem(IDC_PROFILE_LIST)->DeleteString(i);
    InsertProfileEntry(i, profiles::SplitProfileLine(line).name, icon);
}

void CCorvaneDlg::OnDeleteProfile() {
    int i = -1;
    if (!TakeSelectedProfile(i)) {
        ShowPrompt(IDS_SELECT_BEFORE_DELETE, win::MB_OK | win::MB_ICONINFORMATION);
        return;
    }
    if (ShowPrompt(IDS_CONFIRM_DELETE, win::MB_OKCANCEL) != win::IDOK)
        return;
    GetDlgItem(IDC_PROFILE_LIST)->DeleteString(i);
    profileLines.erase(profileLines.begin() + i);
}

void CCorvaneDlg::OnSelectProfile() {
    int i = -1;
    if (!TakeSelectedProfile(i))
        return;
    ShowProfileButtons(true);
    const profiles::IpProfile p = profiles::SplitProfileLine(profileLines[static_cast<std::size_t>(i)]);
    SetDlgItemText(IDC_CONFIG_GROUP, FormatString(IDS_PROFILE_CONFIG_GROUP, p.name));
    SetDlgItemText(IDC_PROFILE_NAME, p.name);
    // A number outside 0 to 4 names no entry and leaves the icon box without a selection.
    GetDlgItem(IDC_ICON_BOX)->SetCurSel(profiles::IconNumber(p.iconNumberText));
    win::HWND adapters = GetDlgItem(IDC_ADAPTER_BOX);
    for (int k = 0; k < adapters->GetCount(); ++k) {
        if (adapters->GetItemText(k) == p.adapter) {
            adapters->SetCurSel(k);
            ShowAdapterSettings();
            break;
        }
    }
    for (const AddressControl& control : kAddressControls)
        SetDlgItemText(control.controlId, p.settings.*control.field);
}

void CCorvaneDlg::OnGetCurrentConfig() {
    RefreshAdapters();
    SetDlgItemText(IDC_CONFIG_GROUP, LoadString(IDS_CURRENT_CONFIG_GROUP));
    SetDlgItemText(IDC_PROFILE_NAME, LoadString(IDS_CURRENT_CONFIG_NAME));
    ShowProfileButtons(false);
    GetDlgItem(IDC_ICON_BOX)->SetCurSel(kCurrentConfigIcon);
}

}  // namespace app
