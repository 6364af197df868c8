// The main dialog's coloured labels and icon buttons: binding the sixteen labels and group boxes,
// giving them their colours, and putting the icons on the icon buttons.
#include "app/CorvaneDlg.h"
#include "res/Resource.h"

namespace app {

using namespace res;

namespace {

// The labels in the order they are coloured. Every colour is a shade of the background gradient:
// red 190 and green 150, only blue changes.
struct LabelColor {
    int controlId;
    int blue;
};

constexpr LabelColor kLabelColors[] = {
    {IDC_LABEL_LIST, 240},    {IDC_LABEL_NAME, 240},         {IDC_LABEL_ICON, 240},
    {IDC_LABEL_ADAPTER, 170}, {IDC_LABEL_IP, 140},           {IDC_LABEL_MASK, 100},
    {IDC_LABEL_GATEWAY, 80},  {IDC_LABEL_PREFERRED_DNS, 70}, {IDC_LABEL_ALTERNATE_DNS, 240},
    {IDC_CONTACT_GROUP, 200}, {IDC_CONFIG_GROUP, 240},       {IDC_LABEL_ADD, 180},
    {IDC_LABEL_MODIFY, 180},  {IDC_LABEL_DELETE, 180},       {IDC_LABEL_SWITCH, 60},
    {IDC_OPTIONS_GROUP, 140},
};

struct ButtonIcon {
    int iconId;
    int buttonId;
};

constexpr ButtonIcon kButtonIcons[] = {
    {IDI_ADD, IDC_ADD},          {IDI_MODIFY, IDC_MODIFY}, {IDI_DELETE, IDC_DELETE},
    {IDI_HELP, IDC_HELP_BUTTON}, {IDI_SWITCH, IDC_SWITCH}, {IDR_MAINFRAME, IDC_ABOUT},
};

}  // namespace

// The labels in the order the dialog declares them, with the control each is bound to.
const CCorvaneDlg::ColorLabelBindings& CCorvaneDlg::ColorLabels() {
    static const ColorLabelBindings bindings{{
        {&CCorvaneDlg::optionsGroupLabel, IDC_OPTIONS_GROUP},
        {&CCorvaneDlg::switchLabel, IDC_LABEL_SWITCH},
        {&CCorvaneDlg::deleteLabel, IDC_LABEL_DELETE},
        {&CCorvaneDlg::modifyLabel, IDC_LABEL_MODIFY},
        {&CCorvaneDlg::addLabel, IDC_LABEL_ADD},
        {&CCorvaneDlg::configGroupLabel, IDC_CONFIG_GROUP},
        {&CCorvaneDlg::contactGroupLabel, IDC_CONTACT_GROUP},
        {&CCorvaneDlg::alternateDnsLabel, IDC_LABEL_ALTERNATE_DNS},
        {&CCorvaneDlg::preferredDnsLabel, IDC_LABEL_PREFERRED_DNS},
        {&CCorvaneDlg::gatewayLabel, IDC_LABEL_GATEWAY},
        {&CCorvaneDlg::maskLabel, IDC_LABEL_MASK},
        {&CCorvaneDlg::ipLabel, IDC_LABEL_IP},
        {&CCorvaneDlg::adapterLabel, IDC_LABEL_ADAPTER},
        {&CCorvaneDlg::iconLabel, IDC_LABEL_ICON},
        {&CCorvaneDlg::nameLabel, IDC_LABEL_NAME},
        {&CCorvaneDlg::listLabel, IDC_LABEL_LIST},
    }};
    return bindings;
}

void CCorvaneDlg::BindColorLabels() {
    for (const auto& binding : ColorLabels())
        SubclassDlgItem(this->*binding.label, binding.controlId);
}

controls::CColorStatic* CCorvaneDlg::ColorLabel(int controlId) {
    for (const auto& binding : ColorLabels()) {
        if (binding.controlId == controlId)
            return &(this->*binding.label);
    }
    return nullptr;
}

void CCorvaneDlg::SetLabelColors() {
    for (const LabelColor& entry : kLabelColors) {
        if (controls::CColorStatic* label = ColorLabel(entry.controlId)) {
            label->SetBackColor(win::RGB(190, 150, entry.blue));
        }
    }
}

void CCorvaneDlg::SetButtonIcons() {
    for (const ButtonIcon& entry : kButtonIcons) {
        win::HICON icon = platform_.window.LoadIcon(entry.iconId, 0);
        if (win::HWND button = GetDlgItem(entry.buttonId))
            button->SetButtonIcon(icon);
    }
}

}  // namespace app
