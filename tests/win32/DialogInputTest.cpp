// The keys and the close box as the dialog manager turns them into commands, and what other threads
// do to a dialog: message boxes shown on the dialog's thread and messages that reach it, or answer 0
// once it is gone.
#include "platform/win32/WideText.h"
#include "res/Resource.h"
#include "res/Templates.h"

// Last: it brings <windows.h>.
#include "Win32DialogFixture.h"

namespace win32_test {
namespace {

struct InputCase {
    const char* name;
    const win::DialogTemplate* (*dialogTemplate)();
    std::function<void(HWND)> input;
    Heard firstHeard;
    int result;
};

void PressEnter(HWND dialog) {
    PostKey(dialog, VK_RETURN);
}
void PressEscape(HWND dialog) {
    PostKey(dialog, VK_ESCAPE);
}
void ClickCloseBox(HWND dialog) {
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

const win::DialogTemplate* Main() {
    return &res::MainDialogTemplate();
}
const win::DialogTemplate* About() {
    return &res::AboutDialogTemplate();
}

TEST(DialogInputTest, KeysAndCloseBoxBecomeTheDialogsCommands) {
    const InputCase cases[] = {
        {"Enter on About presses OK", About, PressEnter, {IDOK, BN_CLICKED, true}, IDOK},
        {"Esc on About cancels", About, PressEscape, {IDCANCEL, BN_CLICKED, true}, IDCANCEL},
        {"close box on About", About, ClickCloseBox, {-1, 0, true}, IDCANCEL},
        // The main dialog's default button is "get the current configuration", which does not end it.
        {"Enter on main presses the default button",
         Main,
         PressEnter,
         {res::IDC_GET_CURRENT, BN_CLICKED, true},
         IDCANCEL},
        {"Esc on main cancels", Main, PressEscape, {IDCANCEL, BN_CLICKED, true}, IDCANCEL},
        {"close box on main", Main, ClickCloseBox, {-1, 0, true}, IDCANCEL},
    };
    for (const InputCase& c : cases) {
        SCOPED_TRACE(c.name);
        win32::Win32WindowHost host;
        RecordingDialog dialog(host, *c.dialogTemplate());
        const int result = RunDriven(dialog, [&](HWND native) {
            c.input(native);
            Settle(native);
        });
        ASSERT_FALSE(dialog.heard.empty());
        EXPECT_EQ(dialog.heard.front(), c.firstHeard);
        EXPECT_EQ(result, c.result);
    }
}

// The About box's icon button and icon come from the executable's resources.
TEST(DialogInputTest, IconsLoadFromTheResources) {
    win32::Win32WindowHost host;
    for (int id :
         {res::IDR_MAINFRAME, res::IDI_PROFILE_FIRST, res::IDI_PROFILE_LAST, res::IDI_ADD, res::IDI_SWITCH}) {
        win::HICON icon = host.LoadIcon(id, 16);
        EXPECT_NE(icon, nullptr) << id;
        host.DestroyIcon(icon);
    }
    EXPECT_EQ(host.LiveIconCount(), 0);
    EXPECT_EQ(host.LoadIcon(999, 16), nullptr);
    win::HCURSOR hand = host.LoadCursor(res::IDC_HAND_CURSOR);
    EXPECT_NE(hand, nullptr);
    EXPECT_EQ(host.LoadCursor(res::IDC_HAND_CURSOR), hand);
}

// A box that a top-level window of the dialog's thread owns, once it is up.
HWND WaitForMessageBox(HWND owner) {
    for (int i = 0; i < 400; ++i) {
        HWND box = OwnDialog(L"worker");
        if (box != nullptr && GetWindow(box, GW_OWNER) == owner)
            return box;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
}

TEST(CrossThreadTest, MessageBoxFromAWorkerIsShownByTheDialogsThread) {
    win32::Win32WindowHost host;
    RecordingDialog dialog(host, res::AboutDialogTemplate());
    int answer = 0;
    RunDriven(dialog, [&](HWND native) {
        std::thread worker([&] {
            answer = host.MessageBox(dialog.GetSafeHwnd(), "from the worker", "worker", MB_OKCANCEL);
        });
        HWND box = WaitForMessageBox(native);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(GetWindowThreadProcessId(box, nullptr), GetWindowThreadProcessId(native, nullptr));
        EXPECT_FALSE(IsWindowEnabled(native));  // modal to the dialog
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        worker.join();
    });
    EXPECT_EQ(answer, IDCANCEL);
}

TEST(CrossThreadTest, SendMessageRunsOnTheDialogsThreadAndAnswersZeroOnceItIsGone) {
    win32::Win32WindowHost host;
    RecordingDialog dialog(host, res::AboutDialogTemplate());
    win::HWND handle = nullptr;
    const int result = RunDriven(dialog, [&](HWND) {
        handle = dialog.GetSafeHwnd();
        std::thread worker([&] {
            host.SendMessage(handle, WM_COMMAND, res::IDC_ABOUT, 0);
            host.SendMessage(handle, WM_CLOSE, 0, 0);
        });
        worker.join();
    });
    const std::vector<Heard> expected{{res::IDC_ABOUT, BN_CLICKED, true}, {-1, 0, true}};
    EXPECT_EQ(dialog.heard, expected);
    EXPECT_EQ(result, IDCANCEL);
    // The window is gone: nothing runs, the answer is 0, from any thread.
    std::thread late([&] { EXPECT_EQ(host.SendMessage(handle, WM_CLOSE, 0, 0), 0); });
    late.join();
    EXPECT_EQ(host.SendMessage(handle, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(dialog.heard.size(), 2U);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

}  // namespace
}  // namespace win32_test
