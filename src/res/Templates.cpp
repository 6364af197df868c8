// Compiled with GBK as the execution character set: every text here is the program's own bytes.
#include "res/Templates.h"

#include "platform/window/Styles.h"
#include "res/BuildSettings.h"
#include "res/Resource.h"
#include "res/Version.h"

namespace res {
namespace {

using win::ControlKind;
using namespace win;  // the style constants read as they would in a resource script

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kChild | SS_LEFT | WS_GROUP;
constexpr DWORD kButton = kChild | BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kIconButton = kButton | BS_ICON;
constexpr DWORD kGroupBox = kChild | BS_GROUPBOX;
constexpr DWORD kCheckBox = kChild | BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kIpAddress = kChild | WS_TABSTOP;

DialogTemplate BuildMainDialog() {
    DialogTemplate t;
    t.id = IDD_MAIN;
    t.caption = kProductCaption;
    t.cx = 349;
    t.cy = 251;
    t.style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU;
    t.exStyle = WS_EX_APPWINDOW;
    t.fontFace = "宋体";
    t.fontPointSize = 9;
    t.controls = {
        {ControlKind::PushButton, IDC_SWITCH, "切换", 56, 114, 22, 21, kIconButton, 0, 0},
        {ControlKind::ComboBox, IDC_ADAPTER_BOX, "", 177, 47, 159, 58,
         kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 0},
        {ControlKind::Static, IDC_LABEL_IP, "IP地址:", 140, 68, 28, 10, kLabel, 0, 0},
        {ControlKind::Static, IDC_LABEL_MASK, "子网掩码:", 133, 88, 39, 10, kLabel, 0, 0},
        {ControlKind::Static, IDC_LABEL_GATEWAY, "默认网关:", 133, 110, 40, 10, kLabel, 0, 0},
        {ControlKind::IpAddress, IDC_IP_ADDRESS, "", 177, 67, 99, 15, kIpAddress, 0, 0},
        {ControlKind::IpAddress, IDC_SUBNET_MASK, "", 178, 88, 99, 15, kIpAddress, 0, 0},
        {ControlKind::IpAddress, IDC_DEFAULT_GATEWAY, "", 177, 110, 99, 15, kIpAddress, 0, 0},
        {ControlKind::Static, IDC_LABEL_ADAPTER, "适配器:", 140, 49, 32, 12, kLabel, 0, 0},
        {ControlKind::Static, IDC_LABEL_PREFERRED_DNS, "首选DNS:", 137, 130, 33, 8, kLabel, 0, 0},
        {ControlKind::Static, IDC_LABEL_ALTERNATE_DNS, "备用DNS:", 137, 153, 33, 8, kLabel, 0, 0},
        {ControlKind::IpAddress, IDC_PREFERRED_DNS, "", 177, 131, 100, 15, kIpAddress, 0, 0},
        {ControlKind::IpAddress, IDC_ALTERNATE_DNS, "", 177, 151, 100, 15, kIpAddress, 0, 0},
        {ControlKind::ListBox, IDC_PROFILE_LIST, "", 10, 18, 107, 91,
         kChild | LBS_OWNERDRAWVARIABLE | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT |
             WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
         0, 0},
        {ControlKind::Static, IDC_LABEL_LIST, "IP配置列表:", 9, 7, 44, 8, kLabel, 0, 0},
        {ControlKind::Static, IDC_LABEL_NAME, "IP配置名称:", 129, 22, 45, 8, kLabel, 0, 0},
        {ControlKind::Edit, IDC_PROFILE_NAME, "", 178, 20, 54, 14,
         kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, 0},
        {ControlKind::Static, IDC_LABEL_ICON, "IP配置图标:", 236, 22, 45, 8, kLabel, 0, 0},
        {ControlKind::ComboBox, IDC_ICON_BOX, "", 281, 17, 56, 142, 0x50210223, 0, 0},
        {ControlKind::GroupBox, IDC_CONFIG_GROUP, "当前IP配置", 123, 7, 219, 193, kGroupBox, 0, 0},
        {ControlKind::PushButton, IDC_ADD, "添加", 168, 171, 29, 25, kIconButton, 0, 0},
        {ControlKind::PushButton, IDC_MODIFY, "修改", 229, 171, 30, 25, kIconButton, 0, 0},
        {ControlKind::PushButton, IDC_DELETE, "删除", 290, 171, 29, 25, kIconButton, 0, 0},
        {ControlKind::PushButton, IDC_GET_CURRENT, "获取当前IP配置", 15, 146, 63, 23,
         kChild | BS_DEFPUSHBUTTON | BS_CENTER | WS_TABSTOP, 0, 0},
        {ControlKind::PushButton, IDC_HELP_BUTTON, "使用说明", 85, 113, 24, 22, kIconButton, 0, 0},
        {ControlKind::Static, IDC_MESSENGER_LINK, "给作者QQ留言", 35, 195, 49, 8, kLabel, 0, 0},
        {ControlKind::Static, IDC_HOMEPAGE_LINK, "访问作者主页", 35, 223, 49, 8, kLabel, 0, 0},
        {ControlKind::Static, IDC_MAIL_LINK, "给作者发邮件", 35, 209, 48, 8, kLabel, 0, 0},
        {ControlKind::GroupBox, IDC_CONTACT_GROUP, "联系作者", 9, 183, 109, 52, kGroupBox, 0, 0},
        {ControlKind::PushButton, IDC_ABOUT, "关于...", 85, 146, 24, 23, kIconButton, 0, 0},
        {ControlKind::Static, IDC_LABEL_ADD, "添加->", 139, 179, 27, 8, kLabel, 0, 0},
        {ControlKind::Static, IDC_LABEL_MODIFY, "修改->", 203, 179, 25, 8, kLabel, 0, 0},
        {ControlKind::Static, IDC_LABEL_DELETE, "删除->", 264, 179, 25, 8, kLabel, 0, 0},
        {ControlKind::Static, IDC_LABEL_SWITCH, "点此切换->", 14, 120, 41, 8, kLabel, 0, 0},
        {ControlKind::CheckBox, IDC_AUTOSTART, "开机自动启动", 133, 217, 112, 10, kCheckBox, 0, 0},
        {ControlKind::CheckBox, IDC_AUTO_EXIT, "切换成功后自动退出", 249, 217, 88, 10, kCheckBox, 0, 0},
        {ControlKind::GroupBox, IDC_OPTIONS_GROUP, "自动选项", 124, 203, 217, 31, kGroupBox, 0, 0},
    };
    return t;
}

DialogTemplate BuildAboutDialog() {
    DialogTemplate t;
    t.id = IDD_ABOUTBOX;
    t.caption = std::string("关于") + kProductCaption;
    t.cx = 235;
    t.cy = 67;
    t.style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.fontFace = "宋体";
    t.fontPointSize = 9;
    const std::string aboutText = std::string("作者:") + kAuthorName + " QQ:" + kAuthorMessengerNumber +
                                  "\n\n作者主页:" + std::string(kHomepageUrl);
    t.controls = {
        {ControlKind::StaticIcon, -1, "", 11, 17, 20, 20, kChild | SS_ICON, 0, IDR_MAINFRAME},
        {ControlKind::Static, -1, kProductCaption, 41, 11, 119, 8, kChild | SS_LEFT | SS_NOPREFIX, 0, 0},
        {ControlKind::Static, -1, aboutText, 40, 29, 157, 25, kChild | SS_LEFT, 0, 0},
        {ControlKind::PushButton, IDOK, "确定", 178, 7, 50, 14,
         kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0, 0},
    };
    return t;
}

}  // namespace

const DialogTemplate& MainDialogTemplate() {
    static const DialogTemplate t = BuildMainDialog();
    return t;
}

const DialogTemplate& AboutDialogTemplate() {
    static const DialogTemplate t = BuildAboutDialog();
    return t;
}

}  // namespace res
