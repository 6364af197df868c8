// The main dialog's coloured labels and icon buttons: binding the sixteen labels and group boxes,
// giving them their colours, and putting the icons on the icon buttons.
#include "app/CorvaneDlg.h"
#include "res/Resource.h"

namespace app {

using namespace res;

namespace {

// Every colour is a shade of the background gradient: red 190 and green 150, only blue changes.
constexpr win::COLORREF Shade(int blue) {
    return win::RGB(190, 150, blue);
}

struct ButtonIcon {
    int iconId;
    int buttonId;
};

constexpr ButtonIcon kButtonIcons[] = {
    {IDI_ADD, IDC_ADD},          {IDI_MODIFY, IDC_MODIFY}, {IDI_DELETE, IDC_DELETE},
    {IDI_HELP, IDC_HELP_BUTTON}, {IDI_SWITCH, IDC_SWITCH}, {IDR_MAINFRAME, IDC_ABOUT},
};

}  // namespace

// The labels in the order they are coloured.
const std::array<CCorvaneDlg::ColorLabel, 16>& CCorvaneDlg::ColorLabels() {
    static const std::array<ColorLabel, 16> labels{{
        {&CCorvaneDlg::listLabel, IDC_LABEL_LIST, Shade(240)},
        {&CCorvaneDlg::nameLabel, IDC_LABEL_NAME, Shade(240)},
        {&CCorvaneDlg::iconLabel, IDC_LABEL_ICON, Shade(240)},
        {&CCorvaneDlg::adapterLabel, IDC_LABEL_ADAPTER, Shade(170)},
        {&CCorvaneDlg::ipLabel, IDC_LABEL_IP, Shade(140)},
        {&CCorvaneDlg::maskLabel, IDC_LABEL_MASK, Shade(100)},
        {&CCorvaneDlg::gatewayLabel, IDC_LABEL_GATEWAY, Shade(80)},
        {&CCorvaneDlg::preferredDnsLabel, IDC_LABEL_PREFERRED_DNS, Shade(70)},
        {&CCorvaneDlg::alternateDnsLabel, IDC_LABEL_ALTERNATE_DNS, Shade(240)},
        {&CCorvaneDlg::contactGroupLabel, IDC_CONTACT_GROUP, Shade(200)},
        {&CCorvaneDlg::configGroupLabel, IDC_CONFIG_GROUP, Shade(240)},
        {&CCorvaneDlg::addLabel, IDC_LABEL_ADD, Shade(180)},
        {&CCorvaneDlg::modifyLabel, IDC_LABEL_MODIFY, Shade(180)},
        {&CCorvaneDlg::deleteLabel, IDC_LABEL_DELETE, Shade(180)},
        {&CCorvaneDlg::switchLabel, IDC_LABEL_SWITCH, Shade(60)},
        {&CCorvaneDlg::optionsGroupLabel, IDC_OPTIONS_GROUP, Shade(140)},
    }};
    return labels;
}

// Bound in the order the dialog declares them, the reverse of the colouring order.
void CCorvaneDlg::BindColorLabels() {
    const auto& labels = ColorLabels();
    for (auto entry = labels.rbegin(); entry != labels.rend(); ++entry)
        SubclassDlgItem(this->*entry->label, entry->controlId);
}

void CCorvaneDlg::SetLabelColors() {
    for (const ColorLabel& entry : ColorLabels())
        (this->*entry.label).SetBackColor(entry.backColor);
}

void CCorvaneDlg::SetButtonIcons() {
    for (const ButtonIcon& entry : kButtonIcons) {
        win::HICON icon = platform_.window.LoadIcon(entry.iconId, 0);
        if (win::HWND button = GetDlgItem(entry.buttonId))
            button->SetButtonIcon(icon);
    }
}

}  // namespace app
