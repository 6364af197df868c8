// Compiled with GBK as the execution character set: every text here is the program's own bytes.
#include "res/StringTable.h"

#include "res/Resource.h"

namespace res {

namespace {

struct StringResource {
    int id;
    const char* text;
};

constexpr StringResource kStringTable[] = {
    {IDS_ABOUTBOX, "关于 Corvane(&A)..."},

    {IDS_PROMPT_CAPTION, "提示"},
    {IDS_CURRENT_CONFIG_GROUP, "当前的IP配置"},
    {IDS_CURRENT_CONFIG_NAME, "当前IP配置"},
    {IDS_PROFILE_CONFIG_GROUP, "%1的IP配置"},
    {IDS_NAME_HAS_SEPARATOR, "IP配置名称中不能含有字符\"|\"，请修改名称后再试!"},
    {IDS_SELECT_BEFORE_SWITCH, "请在IP配置列表中选中一项后再按切换!"},
    {IDS_SELECT_BEFORE_MODIFY, "请在左侧的IP配置列表中选中一项后再按修改!"},
    {IDS_SELECT_BEFORE_DELETE, "请在左侧的IP配置列表中选中一项后再按删除!"},
    {IDS_CONFIRM_DELETE, "确实要删除此IP配置吗?"},
    {IDS_SWITCH_SUCCEEDED, "IP配置切换成功!"},
    {IDS_SWITCH_FAILED, "IP配置切换失败!请根据前述错误原因进行具体的调整与修改!"},
    {IDS_SAVE_PROFILES_FAILED, "创建IP配置备份文件失败!"},
    {IDS_HELP_FILE, "使用说明.txt"},
    {IDS_HELP_FILE_MISSING, "无法打开使用说明.txt!请确保它在当前目录下!"},
    {IDS_LINK_UNREACHABLE, "提供的超级链接无法访问!"},
    {IDS_MODULE_PATH_UNUSABLE, "程序所在路径太长或含有无法识别的字符，无法读取和保存IP配置!"},

    {IDS_OPEN_REGISTRY_FAILED, "打开注册表失败!"},
    {IDS_LOAD_DHCP_LIBRARY_FAILED, "加载dhcpcsvc库失败!"},
    {IDS_DHCP_ENTRY_POINT_MISSING, "获取DhcpNotifyConfigChange函数地址失败!"},
    {IDS_DHCP_NOTIFY_FAILED, "DhcpNotifyConfigChange函数调用失败!"},
    {IDS_WRITE_REGISTRY_FAILED, "写入注册表失败!"},
    {IDS_REASON_NO_PERMISSION, "原因：没有修改网络配置的权限，请以管理员(root)身份运行本程序。"},
    {IDS_REASON_NO_SUCH_ADAPTER, "原因：找不到该适配器，它可能已被移除。请按“获取当前IP配置”后重试。"},
    {IDS_REASON_INVALID_PARAMETER, "原因：参数无效。"},
    {IDS_REASON_BAD_ADDRESS, "原因：IP地址无效。"},
    {IDS_REASON_BAD_MASK, "原因：子网掩码无效。"},
    {IDS_REASON_BAD_GATEWAY, "原因：默认网关无效。"},
    {IDS_REASON_BAD_NAME_SERVER, "原因：DNS服务器地址无效。"},
    {IDS_REASON_NAME_SERVERS_REFUSED, "原因：无法设置DNS服务器，IP配置没有任何改变。"},
    {IDS_REASON_SETTINGS_UNREADABLE, "原因：无法读取刚写入的IP配置，IP配置没有任何改变。"},
    {IDS_REASON_SYSTEM_ERROR, "原因：系统错误 %1。"},
    {IDS_REASON_ERROR_CODE, "原因：错误代码 %1。"},
    {IDS_REASON_SETTINGS_BUSY, "原因：另一个程序正占用IP配置的存储，IP配置没有任何改变。请稍后重试。"},
    {IDS_REASON_NETWORK_MANAGER_REFUSED,
     "原因：管理该网卡的NetworkManager拒绝了这次更改，IP配置没有任何改变。"},

    {IDS_NEW_VERSION, "已推出最新的%1版本，请到软件主页下载!"},
    {IDS_HOMEPAGE_UNREACHABLE, "无法连接到软件主页!"},
};

// Both bytes lie below GBK's trail bytes (0x40 and up), so "%1" is never the second half of a
// double-byte character.
constexpr std::string_view kPlaceholder = "%1";

}  // namespace

std::string LoadString(int stringId) {
    for (const StringResource& entry : kStringTable) {
        if (entry.id == stringId)
            return entry.text;
    }
    return {};
}

std::string FormatString(int stringId, std::string_view argument) {
    std::string text = LoadString(stringId);
    const std::size_t at = text.find(kPlaceholder);
    if (at != std::string::npos)
        text.replace(at, kPlaceholder.size(), argument);
    return text;
}

}  // namespace res
