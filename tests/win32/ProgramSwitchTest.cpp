// The whole program on native windows, driven as a user drives it: a click on a profile, a click on
// the switch button, Enter on the message that answers, the close box. The registry holds two
// adapters; the DHCP client library records its calls.
#include <string>

#include "app/CorvaneApp.h"
#include "fakes/AdapterKeys.h"
#include "platform/win32/WideText.h"
#include "res/Resource.h"
#include "res/Version.h"
#include "support/ProgramFixture.h"

// Last: it brings <windows.h>.
#include "Win32DialogFixture.h"

namespace win32_test {
namespace {

// A dialog of this process with the caption, once it is up; tests of other processes may show theirs.
HWND WaitForDialog(const std::wstring& caption) {
    for (int i = 0; i < 1000; ++i) {
        HWND found = OwnDialog(caption);
        if (found != nullptr && IsWindowVisible(found))
            return found;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
}

// A press and release of the left button at a point of the window's client area.
void Click(HWND window, int x, int y) {
    const LPARAM point = MAKELPARAM(x, y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(window, WM_LBUTTONUP, 0, point);
    Settle(window);
}

void ClickCenter(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    Click(window, r.right / 2, r.bottom / 2);
}

// The text of a message box, and Enter to answer it.
std::wstring AnswerMessageBox(HWND owner) {
    const HWND box = WaitForDialog(L"提示");
    if (box == nullptr || GetWindow(box, GW_OWNER) != owner)
        return L"<no box owned by the dialog>";
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    PostKey(box, VK_RETURN);
    for (int i = 0; i < 500 && IsWindow(box); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return text;
}

class ProgramSwitchTest : public ProgramFixture<win32::Win32WindowHost> {
  protected:
    void SetUp() override {
        fakes::AddAdapter(registry, "0000", "ethernet", "Office NIC", "eth0");
        fakes::AddAdapter(registry, "0001", "ethernet", "Lab NIC", "eth1");
        fakes::AddInterface(registry, "eth0", "192.0.2.10", "255.255.255.0", "192.0.2.1", "192.0.2.53");
        fakes::AddInterface(registry, "eth1", "198.51.100.10", "255.255.255.0", "", "");
        WriteProfiles(
            "home|1|Office NIC|10.0.0.5|255.0.0.0|10.0.0.1|10.0.0.53|\r\n"
            "lab|2|Lab NIC|172.16.0.5|255.255.0.0|172.16.0.1|172.16.0.53|172.16.0.54\r\n");
    }
    std::string Value(const std::string& instanceId, const char* name) const {
        auto value = registry.Get(fakes::kInterfacesKey + "\\" + instanceId, name);
        return value ? std::string(value->data.begin(), value->data.end()) : "<missing>";
    }
};

TEST_F(ProgramSwitchTest, ClickingAProfileAndSwitchWritesItToItsAdapter) {
    std::wstring answer;
    std::atomic<bool> ended = false;
    // A test that went wrong leaves a message box or the dialog up: they are cancelled, so it fails
    // rather than hangs.
    const std::wstring caption = win32::WidenGbk(res::kProductCaption);
    auto closeUntilEnded = [&] {
        for (int i = 0; i < 300 && !ended; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (HWND box = OwnDialog(L"提示"))
                PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            if (HWND dialog = OwnDialog(caption))
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    };
    auto act = [&] {
        const HWND dialog = WaitForDialog(caption);
        ASSERT_NE(dialog, nullptr) << "the program's dialog did not come up";
        // A button takes a click only in the active window; another test's window may have been.
        SetForegroundWindow(dialog);
        const HWND list = GetDlgItem(dialog, res::IDC_PROFILE_LIST);
        RECT second{};
        SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
        Click(list, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
        EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
        wchar_t address[32] = {};
        GetDlgItemTextW(dialog, res::IDC_IP_ADDRESS, address, 32);
        EXPECT_STREQ(address, L"172.16.0.5");
        ClickCenter(GetDlgItem(dialog, res::IDC_SWITCH));
        answer = AnswerMessageBox(dialog);
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    };
    std::thread user([&] {
        act();
        closeUntilEnded();
    });
    app::CCorvaneApp application(platform);
    EXPECT_FALSE(application.InitInstance());
    ended = true;
    user.join();

    EXPECT_EQ(answer, L"IP配置切换成功!");
    EXPECT_EQ(Value("eth1", "IPAddress"), std::string("172.16.0.5\0\0", 12));
    EXPECT_EQ(Value("eth1", "SubnetMask"), std::string("255.255.0.0\0\0", 13));
    EXPECT_EQ(Value("eth1", "NameServer"), std::string("172.16.0.53,172.16.0.54\0", 24));
    EXPECT_EQ(Value("eth0", "IPAddress"), std::string("192.0.2.10\0\0", 12))
        << "the other adapter is untouched";
    ASSERT_EQ(libraries.calls.size(), 1U);
    EXPECT_EQ(libraries.calls[0].adapterName, u"eth1");
    EXPECT_EQ(libraries.calls[0].ipAddress, 0x050010ACU) << "as inet_addr gives it, the first field lowest";
}

}  // namespace
}  // namespace win32_test
