// The real tarnquill.exe as a user starts it: from a folder of its own that holds its profile file, on
// a registry with one wired adapter. Its main dialog comes up, a switch reaches the registry and the
// DHCP client library beside it, and a close sends it away saving the profiles back beside it.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/registry/RegistrySchema.h"
#include "platform/win32/WideText.h"
#include "res/Resource.h"
#include "res/Version.h"

// Last: its names clash with the program's.
#include <windows.h>

namespace win32_test {
namespace {

namespace fs = std::filesystem;

// An adapter of this test process alone, as the cases run in parallel processes and the program finds
// a profile's adapter by its name: a subkey number no real adapter is likely to have, and a name and an
// instance id that name the process.
std::string AdapterSubKey() {
    return "\\9" + std::to_string(GetCurrentProcessId() % 1000);
}
std::string AdapterName() {
    return "Office NIC " + std::to_string(GetCurrentProcessId());
}
std::string InstanceId() {
    return "{6B1D3C2E-0000-4000-8000-" + std::to_string(100000000000 + GetCurrentProcessId()) + "}";
}

std::string Path(std::string_view parent, const std::string& child) {
    return std::string(parent) + child;
}

void SetValue(const std::string& keyPath, std::string_view name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS)
        << keyPath;
    const std::string terminated = bytes + '\0';
    EXPECT_EQ(RegSetValueExA(key, std::string(name).c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(terminated.data()),
                             static_cast<DWORD>(terminated.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

// One wired adapter, laid out as Windows keeps it.
void SeedAdapter() {
    const std::string adapter = Path(winreg::kAdapterClassKeyPath, AdapterSubKey());
    SetValue(adapter, winreg::kDriverDescValue, REG_SZ, AdapterName());
    SetValue(adapter, winreg::kNetCfgInstanceIdValue, REG_SZ, InstanceId());
    SetValue(Path(adapter, "\\" + std::string(winreg::kNdiInterfacesKeyPath)), winreg::kLowerRangeValue,
             REG_SZ, std::string(winreg::kEthernetLowerRange));
    const std::string tcpip = Path(winreg::kTcpipInterfacesKeyPath, "\\" + InstanceId());
    SetValue(tcpip, winreg::kIpAddressValue, REG_MULTI_SZ, std::string("192.0.2.10") + '\0');
    SetValue(tcpip, winreg::kSubnetMaskValue, REG_MULTI_SZ, std::string("255.255.255.0") + '\0');
}

void RemoveAdapter() {
    for (const std::string& key : {Path(winreg::kAdapterClassKeyPath, AdapterSubKey()),
                                   Path(winreg::kTcpipInterfacesKeyPath, "\\" + InstanceId())}) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
    }
}

// A value of the adapter's TCP/IP key as its bytes.
std::string TcpipValue(std::string_view name) {
    const std::string key = Path(winreg::kTcpipInterfacesKeyPath, "\\" + InstanceId());
    char data[256] = {};
    DWORD size = sizeof(data);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), std::string(name).c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                     nullptr, data, &size) != ERROR_SUCCESS)
        return "<missing>";
    return {data, size};
}

// The visible dialog with the caption that belongs to the process, once it is up.
HWND WaitForDialogOf(DWORD processId, const std::wstring& caption) {
    for (int i = 0; i < 3000; ++i) {
        for (HWND found = FindWindowExW(nullptr, nullptr, L"#32770", caption.c_str()); found != nullptr;
             found = FindWindowExW(nullptr, found, L"#32770", caption.c_str())) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (owner == processId && IsWindowVisible(found))
                return found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
}

fs::path OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TarnquillExeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("tarnquill-exe-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::copy_file(OwnFolder() / "tarnquill.exe", folder / "tarnquill.exe");
        RemoveAdapter();
        SeedAdapter();
    }
    void TearDown() override {
        if (process.hProcess != nullptr) {
            // A test that went wrong leaves the program up: it must not outlive the test.
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process.hProcess, 1);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        RemoveAdapter();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    void WriteProfiles(const std::string& text) {
        std::ofstream(folder / "tarnquill", std::ios::binary) << text;
    }

    bool Start() {
        std::wstring commandLine = L"\"" + (folder / "tarnquill.exe").wstring() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        return CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.wstring().c_str(), &startup, &process) != FALSE;
    }

    // The process's exit code once it has ended; STILL_ACTIVE when it has not within the time.
    DWORD WaitForExit() {
        WaitForSingleObject(process.hProcess, 20000);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    fs::path folder;
    PROCESS_INFORMATION process{};
};

// Presses the button the way a click does, through the dialog's own command.
void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The text of the process's message box, answered with its OK button.
std::wstring AnswerMessageBox(DWORD processId) {
    const HWND box = WaitForDialogOf(processId, L"提示");
    if (box == nullptr)
        return L"<no message box>";
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return text;
}

TEST_F(TarnquillExeTest, ShowsItsMainDialogAndSavesTheProfilesBesideItAtClose) {
    // Mixed line ends: the program writes every line back with CR LF, so a save shows in the file.
    WriteProfiles(
        "home|1|Office NIC|10.0.0.5|255.0.0.0|10.0.0.1|10.0.0.53|\n"
        "lab|2|Office NIC|172.16.0.5|255.255.0.0|172.16.0.1||\r\n");
    ASSERT_TRUE(Start());

    const HWND dialog = WaitForDialogOf(process.dwProcessId, win32::WidenGbk(res::kProductCaption));
    ASSERT_NE(dialog, nullptr) << "no main dialog of tarnquill.exe";
    PostMessageW(dialog, WM_CLOSE, 0, 0);

    EXPECT_EQ(WaitForExit(), 0u);
    EXPECT_EQ(ReadAll(folder / "tarnquill"),
              "home|1|Office NIC|10.0.0.5|255.0.0.0|10.0.0.1|10.0.0.53|\r\n"
              "lab|2|Office NIC|172.16.0.5|255.255.0.0|172.16.0.1||\r\n");
}

TEST_F(TarnquillExeTest, SwitchWritesTheProfileToTheRegistryAndTellsTheDhcpClient) {
    const fs::path log = folder / "dhcp.log";
    SetEnvironmentVariableW(L"OSTRELLE_TEST_DHCP_LOG", log.wstring().c_str());
    fs::copy_file(OwnFolder() / "stand-in" / "dhcpcsvc.dll", folder / "dhcpcsvc.dll");
    WriteProfiles("home|1|" + AdapterName() + "|10.0.0.5|255.0.0.0|10.0.0.1|10.0.0.53|\r\n");
    const bool started = Start();
    SetEnvironmentVariableW(L"OSTRELLE_TEST_DHCP_LOG", nullptr);
    ASSERT_TRUE(started);

    const HWND dialog = WaitForDialogOf(process.dwProcessId, win32::WidenGbk(res::kProductCaption));
    ASSERT_NE(dialog, nullptr) << "no main dialog of tarnquill.exe";
    Press(dialog, res::IDC_SWITCH);
    EXPECT_EQ(AnswerMessageBox(process.dwProcessId), L"IP配置切换成功!");
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(), 0u);

    EXPECT_EQ(TcpipValue(winreg::kIpAddressValue), std::string("10.0.0.5\0\0", 10));
    EXPECT_EQ(TcpipValue(winreg::kSubnetMaskValue), std::string("255.0.0.0\0\0", 11));
    EXPECT_EQ(TcpipValue(winreg::kDefaultGatewayValue), std::string("10.0.0.1\0\0", 10));
    // The comma is always written, an empty alternate server after it.
    EXPECT_EQ(TcpipValue(winreg::kNameServerValue), std::string("10.0.0.53,\0", 11));
    // The address and mask as inet_addr gives them, the first field lowest.
    EXPECT_EQ(ReadAll(log), InstanceId() + "|1|0|83886090|255|0\n");
}

}  // namespace
}  // namespace win32_test
