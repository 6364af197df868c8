#pragma once
// Resource and control ids: the numbers every part of the program addresses controls, icons and
// strings by.

namespace res {

constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;  // the system menu's About item
constexpr int IDD_MAIN = 102;

// Icons and the cursor.
constexpr int IDR_MAINFRAME = 128;
constexpr int IDI_PROFILE_FIRST = 139;  // profile icon n is IDI_PROFILE_FIRST + n, n in 0..4
constexpr int IDI_PROFILE_LAST = 143;
constexpr int IDC_HAND_CURSOR = 144;
constexpr int IDI_ADD = 152;
constexpr int IDI_MODIFY = 153;
constexpr int IDI_DELETE = 154;
constexpr int IDI_HELP = 155;
constexpr int IDI_SWITCH = 156;

// Controls of the main dialog.
constexpr int IDC_SWITCH = 1;  // IDOK
constexpr int IDC_ADAPTER_BOX = 1000;
constexpr int IDC_IP_ADDRESS = 1004;
constexpr int IDC_SUBNET_MASK = 1005;
constexpr int IDC_DEFAULT_GATEWAY = 1006;
constexpr int IDC_PREFERRED_DNS = 1007;
constexpr int IDC_ALTERNATE_DNS = 1008;
constexpr int IDC_PROFILE_LIST = 1010;
constexpr int IDC_PROFILE_NAME = 1011;
constexpr int IDC_ICON_BOX = 1013;
constexpr int IDC_ADD = 1014;
constexpr int IDC_MODIFY = 1015;
constexpr int IDC_DELETE = 1016;
constexpr int IDC_GET_CURRENT = 1019;
constexpr int IDC_CONFIG_GROUP = 1020;
constexpr int IDC_HELP_BUTTON = 1021;
constexpr int IDC_MESSENGER_LINK = 1022;
constexpr int IDC_HOMEPAGE_LINK = 1023;
constexpr int IDC_MAIL_LINK = 1024;
constexpr int IDC_LABEL_LIST = 1025;
constexpr int IDC_LABEL_NAME = 1026;
constexpr int IDC_LABEL_ICON = 1027;
constexpr int IDC_LABEL_ADAPTER = 1028;
constexpr int IDC_LABEL_IP = 1029;
constexpr int IDC_LABEL_MASK = 1030;
constexpr int IDC_LABEL_GATEWAY = 1031;
constexpr int IDC_LABEL_PREFERRED_DNS = 1032;
constexpr int IDC_LABEL_ALTERNATE_DNS = 1033;
constexpr int IDC_ABOUT = 1034;
constexpr int IDC_CONTACT_GROUP = 1035;
constexpr int IDC_LABEL_MODIFY = 1037;
constexpr int IDC_LABEL_DELETE = 1038;
constexpr int IDC_LABEL_ADD = 1039;
constexpr int IDC_LABEL_SWITCH = 1040;
constexpr int IDC_AUTOSTART = 1041;
constexpr int IDC_AUTO_EXIT = 1042;
constexpr int IDC_OPTIONS_GROUP = 1043;

// Strings of the main dialog: captions, its message boxes, the help file it opens.
constexpr int IDS_PROMPT_CAPTION = 200;
constexpr int IDS_CURRENT_CONFIG_GROUP = 201;
constexpr int IDS_CURRENT_CONFIG_NAME = 202;
constexpr int IDS_PROFILE_CONFIG_GROUP = 203;  // %1 is the profile's name
constexpr int IDS_NAME_HAS_SEPARATOR = 204;
constexpr int IDS_SELECT_BEFORE_SWITCH = 205;
constexpr int IDS_SELECT_BEFORE_MODIFY = 206;
constexpr int IDS_SELECT_BEFORE_DELETE = 207;
constexpr int IDS_CONFIRM_DELETE = 208;
constexpr int IDS_SWITCH_SUCCEEDED = 209;
constexpr int IDS_SWITCH_FAILED = 210;
constexpr int IDS_SAVE_PROFILES_FAILED = 211;
constexpr int IDS_HELP_FILE = 212;
constexpr int IDS_HELP_FILE_MISSING = 213;
constexpr int IDS_LINK_UNREACHABLE = 214;
constexpr int IDS_MODULE_PATH_UNUSABLE = 215;

// Strings of the adapter store: each failure, then the reason that follows it on its next line.
constexpr int IDS_OPEN_REGISTRY_FAILED = 220;
constexpr int IDS_LOAD_DHCP_LIBRARY_FAILED = 221;
constexpr int IDS_DHCP_ENTRY_POINT_MISSING = 222;
constexpr int IDS_DHCP_NOTIFY_FAILED = 223;
constexpr int IDS_WRITE_REGISTRY_FAILED = 224;
constexpr int IDS_REASON_NO_PERMISSION = 230;
constexpr int IDS_REASON_NO_SUCH_ADAPTER = 231;
constexpr int IDS_REASON_INVALID_PARAMETER = 232;
constexpr int IDS_REASON_BAD_ADDRESS = 233;
constexpr int IDS_REASON_BAD_MASK = 234;
constexpr int IDS_REASON_BAD_GATEWAY = 235;
constexpr int IDS_REASON_BAD_NAME_SERVER = 236;
constexpr int IDS_REASON_NAME_SERVERS_REFUSED = 237;
constexpr int IDS_REASON_SETTINGS_UNREADABLE = 238;
constexpr int IDS_REASON_SYSTEM_ERROR = 239;  // %1 is the system's error number
constexpr int IDS_REASON_ERROR_CODE = 240;    // %1 is the whole status
constexpr int IDS_REASON_SETTINGS_BUSY = 241;
constexpr int IDS_REASON_NETWORK_MANAGER_REFUSED = 242;

// Strings of the update check.
constexpr int IDS_NEW_VERSION = 250;  // %1 is the server's version
constexpr int IDS_HOMEPAGE_UNREACHABLE = 251;

// The system-menu command that opens the About box.
constexpr unsigned IDM_ABOUTBOX = 0x0010;

}  // namespace res
