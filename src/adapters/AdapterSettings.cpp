#include "adapters/AdapterSettings.h"

#include <algorithm>
#include <array>

#include "adapters/FailureReasons.h"
#include "adapters/RegistryKey.h"
#include "platform/registry/RegistrySchema.h"
#include "res/AppMessageBox.h"
#include "res/Resource.h"

namespace adapters {

namespace {

// Each input is copied into a 100-byte working buffer, at most 98 characters, so that the text and
// the two NULs of a multi-string always fit.
constexpr std::size_t kWorkingBufferSize = 100;
constexpr std::size_t kMaxTextLength = kWorkingBufferSize - 2;

std::string_view Cut(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    return text.substr(0, kMaxTextLength);
}

win::LONG SetValue(win::Registry& registry, win::HKEY key, std::string_view name, win::DWORD type,
                   const std::vector<std::uint8_t>& data) {
    return registry.RegSetValueEx(key, name, type, data.data(), static_cast<win::DWORD>(data.size()));
}

// The failure, with the reason for the registry's error on the next line where one is known.
void ShowFailure(const AdapterServices& services, int failureId, win::LONG error) {
    const std::string reason = RegistryFailureReason(error);
    const std::string failure = res::LoadString(failureId);
    res::AfxMessageBox(services.window, reason.empty() ? failure : failure + "\n" + reason);
}

}  // namespace

std::string InterfaceKeyPath(std::string_view instanceId) {
    std::string path(winreg::kTcpipInterfacesKeyPath);
    path += '\\';
    path += instanceId;
    return path;
}

void SplitNameServer(std::string_view nameServer, std::string& preferredDns, std::string& alternateDns) {
    const std::size_t comma = nameServer.find(',');
    if (comma == std::string_view::npos) {
        preferredDns.assign(nameServer);
        alternateDns.clear();
        return;
    }
    preferredDns.assign(nameServer.substr(0, comma));
    alternateDns.assign(nameServer.substr(comma + 1));
}

bool ReadAdapterSettings(win::Registry& registry, Ipv4Settings& settings, std::string_view instanceId) {
    RegistryKey key(registry);
    if (!key.Open(win::HKEY_LOCAL_MACHINE, InterfaceKeyPath(instanceId), win::KEY_READ))
        return false;
    ValueBuffer buffer;
    buffer.QueryText(registry, key.Get(), winreg::kIpAddressValue, settings.ipAddress);
    buffer.QueryText(registry, key.Get(), winreg::kSubnetMaskValue, settings.subnetMask);
    buffer.QueryText(registry, key.Get(), winreg::kDefaultGatewayValue, settings.defaultGateway);
    std::string nameServer;
    if (buffer.QueryText(registry, key.Get(), winreg::kNameServerValue, nameServer)) {
        SplitNameServer(nameServer, settings.preferredDns, settings.alternateDns);
    }
    return true;
}

std::vector<std::uint8_t> MultiStringValue(std::string_view text) {
    const std::string_view cut = Cut(text);
    std::vector<std::uint8_t> data(cut.begin(), cut.end());
    data.push_back(0);
    data.push_back(0);
    return data;
}

std::vector<std::uint8_t> NameServerValue(std::string_view preferredDns, std::string_view alternateDns) {
    const std::string_view preferred = Cut(preferredDns);
    const std::string_view alternate = Cut(alternateDns);
    std::vector<std::uint8_t> data(preferred.begin(), preferred.end());
    data.push_back(',');
    data.insert(data.end(), alternate.begin(), alternate.end());
    data.push_back(0);
    return data;
}

bool WriteAdapterSettings(const AdapterServices& services, std::string_view instanceId,
                          const Ipv4Settings& settings) {
    RegistryKey key(services.registry);
    // Without an instance id the path would name the Interfaces key itself, which holds no adapter's
    // values: such an adapter is refused as an adapter whose key cannot be opened.
    if (instanceId.empty()) {
        res::AfxMessageBox(services.window, res::IDS_OPEN_REGISTRY_FAILED);
        return false;
    }
    if (!key.Open(win::HKEY_LOCAL_MACHINE, InterfaceKeyPath(instanceId), win::KEY_WRITE)) {
        ShowFailure(services, res::IDS_OPEN_REGISTRY_FAILED, key.Error());
        return false;
    }
    // The notification puts into effect what these values say: a value that was not written would have it
    // take an older one, or none, and report the switch as done. The first failure ends the writes.
    win::Registry& registry = services.registry;
    win::LONG error = SetValue(registry, key.Get(), winreg::kIpAddressValue, win::REG_MULTI_SZ,
                               MultiStringValue(settings.ipAddress));
    if (error == win::ERROR_SUCCESS)
        error = SetValue(registry, key.Get(), winreg::kSubnetMaskValue, win::REG_MULTI_SZ,
                         MultiStringValue(settings.subnetMask));
    if (error == win::ERROR_SUCCESS)
        error = SetValue(registry, key.Get(), winreg::kDefaultGatewayValue, win::REG_MULTI_SZ,
                         MultiStringValue(settings.defaultGateway));
    if (error == win::ERROR_SUCCESS)
        error = SetValue(registry, key.Get(), winreg::kNameServerValue, win::REG_SZ,
                         NameServerValue(settings.preferredDns, settings.alternateDns));
    if (error != win::ERROR_SUCCESS) {
        ShowFailure(services, res::IDS_WRITE_REGISTRY_FAILED, error);
        return false;
    }
    return true;
}

}  // namespace adapters
