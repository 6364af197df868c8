// The main dialog's custom controls: binding them to their windows, the contact links' targets, the
// icon box's icons and filling the profile list from the loaded lines.
#include <string>

#include "app/CorvaneDlg.h"
#include "app/Globals.h"
#include "profiles/ProfileLine.h"
#include "res/BuildSettings.h"
#include "res/Resource.h"

namespace app {

using namespace res;

namespace {

constexpr win::COLORREF kLinkColor = win::RGB(0, 0, 255);
constexpr win::COLORREF kLinkHoverColor = win::RGB(255, 0, 0);

}  // namespace

void CCorvaneDlg::BindControls() {
    SubclassDlgItem(mailLink, IDC_MAIL_LINK);
    SubclassDlgItem(homepageLink, IDC_HOMEPAGE_LINK);
    SubclassDlgItem(messengerLink, IDC_MESSENGER_LINK);
    SubclassDlgItem(iconBox, IDC_ICON_BOX);
    SubclassDlgItem(profileList, IDC_PROFILE_LIST);
}

void CCorvaneDlg::SetContactLinks() {
    messengerLink.SetLink(kMessengerLinkUrl, kLinkColor, kLinkHoverColor);
    mailLink.SetLink(kMailLinkUrl, kLinkColor, kLinkHoverColor);
    homepageLink.SetLink(std::string(kHomepageUrl), kLinkColor, kLinkHoverColor);
}

// Entry n of the icon box shows profile icon n, so the box's selection is a profile's icon number.
void CCorvaneDlg::FillIconBox() {
    for (int id = IDI_PROFILE_FIRST; id <= IDI_PROFILE_LAST; ++id)
        iconBox.AddIcon(static_cast<win::UINT>(id));
}

// Every later command indexes the list and profileLines by the same position, so every line gets its
// entry: a line whose icon number names no icon (a hand-edited file) is listed without an icon.
// Only the name and icon of each line are read, into one reused buffer: a file of thousands of lines
// would otherwise spend most of the start taking apart fields nobody looks at yet.
void CCorvaneDlg::FillProfileList() {
    std::string name;
    profileList.InitStorage(static_cast<int>(profileLines.size()));
    for (const std::string& line : profileLines) {
        const profiles::ProfileListFields fields = profiles::SplitProfileListFields(line);
        name.assign(fields.name);
        AddProfileEntry(name, profiles::IconNumber(fields.iconNumberText));
    }
    profileList.SetCurrentIndex(0);
    OnSelectProfile();
}

}  // namespace app
