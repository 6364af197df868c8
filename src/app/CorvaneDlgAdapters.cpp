// The dialog's side of the adapter store: the adapter box, the five address controls and the switch's
// write-and-notify.
#include "app/CorvaneDlg.h"

#include "adapters/AdapterDiscovery.h"
#include "adapters/DhcpNotify.h"
#include "adapters/InetAddr.h"
#include "app/AddressControls.h"
#include "app/Globals.h"
#include "res/Resource.h"

namespace app {

using namespace res;

namespace {

// The address control's fields take the address's bytes in memory order, first field in the high byte
// of the control's value: 192.168.0.1 shows as 192, 168, 0, 1. An empty text leaves the control blank
// rather than showing 0.0.0.0 for an adapter that has no gateway.
void ShowAddress(win::HWND control, const std::string& text) {
    if (control == nullptr)
        return;
    if (text.empty()) {
        control->ClearAddress();
        return;
    }
    const adapters::AddressBytes bytes = adapters::BytesOf(adapters::InetAddr(text));
    control->SetAddress(static_cast<win::DWORD>(bytes.b[0]) << 24 |
                        static_cast<win::DWORD>(bytes.b[1]) << 16 | static_cast<win::DWORD>(bytes.b[2]) << 8 |
                        static_cast<win::DWORD>(bytes.b[3]));
}

// The record behind the adapter box's selection, or null when nothing is selected: the list is never
// indexed without a selection.
const adapters::AdapterInfo* SelectedAdapter(win::HWND box) {
    const int selection = box == nullptr ? -1 : box->GetCurSel();
    if (selection < 0 || static_cast<std::size_t>(selection) >= adapterList.size())
        return nullptr;
    return &adapterList[static_cast<std::size_t>(selection)];
}

}  // namespace

void CCorvaneDlg::RefreshAdapters() {
    win::HWND box = GetDlgItem(IDC_ADAPTER_BOX);
    box->ResetContent();
    adapterList.clear();
    adapters::EnumerateAdapters(platform_.registry, adapterList);
    for (const adapters::AdapterInfo& adapter : adapterList)
        box->AddString(adapter.description);
    box->SetCurSel(0);
    ShowAdapterSettings();
}

void CCorvaneDlg::ShowAdapterSettings() {
    const adapters::AdapterInfo* adapter = SelectedAdapter(GetDlgItem(IDC_ADAPTER_BOX));
    if (adapter == nullptr)
        return;
    for (const AddressControl& control : kAddressControls)
        ShowAddress(GetDlgItem(control.controlId), adapter->settings.*control.field);
}

// The adapter switched is the box's selection at this moment, the first address of it (index 0). With
// no adapter selected there is nothing to write to: refused as an adapter without an instance id, so the
// user reads why before the general failure message.
bool CCorvaneDlg::ApplyToSelectedAdapter(const adapters::Ipv4Settings& settings) {
    const adapters::AdapterInfo* adapter = SelectedAdapter(GetDlgItem(IDC_ADAPTER_BOX));
    const std::string instanceId = adapter == nullptr ? std::string() : adapter->instanceId;
    const adapters::AdapterServices services{platform_.registry, platform_.window, platform_.libraries};
    return adapters::ApplyAdapterSettings(services, instanceId, 0, settings);
}

}  // namespace app
