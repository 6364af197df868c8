#include "adapters/FailureReasons.h"

#include "platform/dhcp/DhcpStatus.h"
#include "res/Resource.h"
#include "res/StringTable.h"

namespace adapters {

namespace {

struct Reason {
    std::uint32_t status;
    int stringId;
};

constexpr Reason kReasons[] = {
    {win::kDhcpAccessDenied, res::IDS_REASON_NO_PERMISSION},
    {win::kDhcpNoSuchAdapter, res::IDS_REASON_NO_SUCH_ADAPTER},
    {win::kDhcpInvalidParameter, res::IDS_REASON_INVALID_PARAMETER},
    {win::kDhcpBadAddress, res::IDS_REASON_BAD_ADDRESS},
    {win::kDhcpBadMask, res::IDS_REASON_BAD_MASK},
    {win::kDhcpBadGateway, res::IDS_REASON_BAD_GATEWAY},
    {win::kDhcpBadNameServer, res::IDS_REASON_BAD_NAME_SERVER},
    {win::kDhcpNameServersRefused, res::IDS_REASON_NAME_SERVERS_REFUSED},
    {win::kDhcpSettingsUnreadable, res::IDS_REASON_SETTINGS_UNREADABLE},
    {win::kDhcpSettingsBusy, res::IDS_REASON_SETTINGS_BUSY},
    {win::kDhcpNetworkManagerRefused, res::IDS_REASON_NETWORK_MANAGER_REFUSED},
};

constexpr std::uint32_t kErrorNumberMask = 0xFFFF;

}  // namespace

std::string DhcpFailureReason(std::uint32_t status) {
    for (const Reason& reason : kReasons) {
        if (reason.status == status)
            return res::LoadString(reason.stringId);
    }
    if ((status & ~kErrorNumberMask) == win::kDhcpSystemError)
        return res::FormatString(res::IDS_REASON_SYSTEM_ERROR, std::to_string(status & kErrorNumberMask));
    return res::FormatString(res::IDS_REASON_ERROR_CODE, std::to_string(status));
}

std::string RegistryFailureReason(win::LONG error) {
    switch (error) {
        case win::ERROR_ACCESS_DENIED:
            return res::LoadString(res::IDS_REASON_NO_PERMISSION);
        case win::ERROR_FILE_NOT_FOUND:
            return res::LoadString(res::IDS_REASON_NO_SUCH_ADAPTER);
        case win::ERROR_BUSY:
            return res::LoadString(res::IDS_REASON_SETTINGS_BUSY);
        default:
            return "";
    }
}

}  // namespace adapters
