#include "adapters/DhcpNotify.h"

#include <algorithm>
#include <array>
#include <string>

#include "adapters/AdapterSettings.h"
#include "adapters/FailureReasons.h"
#include "adapters/InetAddr.h"
#include "platform/text/Gbk.h"
#include "res/AppMessageBox.h"
#include "res/Resource.h"
#include "res/StringTable.h"

namespace adapters {

namespace {

// Releases the library however the notification ends.
class LoadedLibrary {
  public:
    LoadedLibrary(win::DynamicLibraries& libraries, std::string_view name)
        : libraries_(libraries), module_(libraries.LoadLibrary(name)) {}
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    ~LoadedLibrary() {
        if (module_ != nullptr)
            libraries_.FreeLibrary(module_);
    }
    win::HMODULE Get() const { return module_; }

  private:
    win::DynamicLibraries& libraries_;
    win::HMODULE module_;
};

std::array<char16_t, kAdapterNameUnits> AdapterName(std::string_view instanceId) {
    std::array<char16_t, kAdapterNameUnits> name{};
    const std::u16string wide = text::GbkToUtf16(instanceId.substr(0, instanceId.find('\0')));
    std::copy_n(wide.begin(), std::min(wide.size(), name.size() - 1), name.begin());
    return name;
}

}  // namespace

bool NotifyDhcpClient(const AdapterServices& services, std::string_view instanceId, std::uint32_t index,
                      std::string_view ipAddress, std::string_view subnetMask) {
    const std::array<char16_t, kAdapterNameUnits> adapterName = AdapterName(instanceId);
    LoadedLibrary library(services.libraries, "dhcpcsvc");
    if (library.Get() == nullptr) {
        res::AfxMessageBox(services.window, res::IDS_LOAD_DHCP_LIBRARY_FAILED);
        return false;
    }
    const win::FARPROC proc = services.libraries.GetProcAddress(library.Get(), "DhcpNotifyConfigChange");
    if (proc == nullptr) {
        res::AfxMessageBox(services.window, res::IDS_DHCP_ENTRY_POINT_MISSING);
        return false;
    }
    const auto notify = reinterpret_cast<win::DhcpNotifyConfigChangeFunction>(proc);
    // A new static address (flag 1) at the caller's index; DHCP action 0 leaves the DHCP setting alone.
    const std::uint32_t status =
        notify(nullptr, adapterName.data(), 1, index, InetAddr(ipAddress), InetAddr(subnetMask), 0);
    if (status != 0) {
        // The general message the switch shows next asks the user to act on the reason given here.
        res::AfxMessageBox(services.window,
                           res::LoadString(res::IDS_DHCP_NOTIFY_FAILED) + "\n" + DhcpFailureReason(status));
        return false;
    }
    return true;
}

bool ApplyAdapterSettings(const AdapterServices& services, std::string_view instanceId, std::uint32_t index,
                          const Ipv4Settings& settings) {
    if (!WriteAdapterSettings(services, instanceId, settings))
        return false;
    return NotifyDhcpClient(services, instanceId, index, settings.ipAddress, settings.subnetMask);
}

}  // namespace adapters
