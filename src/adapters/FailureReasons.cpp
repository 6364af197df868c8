// Compiled with GBK as the execution character set: the texts are the program's own bytes.
#include "adapters/FailureReasons.h"

#include "platform/dhcp/DhcpStatus.h"

namespace adapters {

namespace {

struct Reason {
    std::uint32_t status;
    const char* text;
};

constexpr const char* kNoPermission = "原因：没有修改网络配置的权限，请以管理员(root)身份运行本程序。";
constexpr const char* kNoSuchAdapter = "原因：找不到该适配器，它可能已被移除。请按“获取当前IP配置”后重试。";

constexpr Reason kReasons[] = {
    {win::kDhcpAccessDenied, kNoPermission},
    {win::kDhcpNoSuchAdapter, kNoSuchAdapter},
    {win::kDhcpInvalidParameter, "原因：参数无效。"},
    {win::kDhcpBadAddress, "原因：IP地址无效。"},
    {win::kDhcpBadMask, "原因：子网掩码无效。"},
    {win::kDhcpBadGateway, "原因：默认网关无效。"},
    {win::kDhcpBadNameServer, "原因：DNS服务器地址无效。"},
    {win::kDhcpNameServersRefused, "原因：无法设置DNS服务器，IP配置没有任何改变。"},
    {win::kDhcpSettingsUnreadable, "原因：无法读取刚写入的IP配置，IP配置没有任何改变。"},
};

constexpr std::uint32_t kErrorNumberMask = 0xFFFF;

}  // namespace

std::string DhcpFailureReason(std::uint32_t status) {
    for (const Reason& reason : kReasons) {
        if (reason.status == status)
            return reason.text;
    }
    if ((status & ~kErrorNumberMask) == win::kDhcpSystemError)
        return "原因：系统错误 " + std::to_string(status & kErrorNumberMask) + "。";
    return "原因：错误代码 " + std::to_string(status) + "。";
}

std::string RegistryFailureReason(win::LONG error) {
    switch (error) {
        case win::ERROR_ACCESS_DENIED:
            return kNoPermission;
        case win::ERROR_FILE_NOT_FOUND:
            return kNoSuchAdapter;
        default:
            return "";
    }
}

}  // namespace adapters
