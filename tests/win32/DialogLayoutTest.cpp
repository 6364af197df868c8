// Both dialogs as the system's dialog manager makes them from the program's templates: every control
// with its window class, style, text and place, and the dialog font.
#include "platform/win32/DialogTemplateBlob.h"
#include "platform/win32/WideText.h"
#include "res/Resource.h"
#include "res/Templates.h"

// Last: it brings <windows.h>.
#include "Win32DialogFixture.h"

namespace win32_test {
namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// The control's place in the dialog's client area, in pixels.
RECT PlaceOf(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Native controls are made in template order, so the n-th child is the n-th template control, the
// unnamed statics included.
std::vector<HWND> ChildrenOf(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

void ExpectEveryControlAsTemplated(HWND dialog, const win::DialogTemplate& t) {
    const std::vector<HWND> children = ChildrenOf(dialog);
    ASSERT_EQ(children.size(), t.controls.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const win::ControlTemplate& control = t.controls[i];
        HWND child = children[i];
        SCOPED_TRACE("control " + std::to_string(control.id) + " at " + std::to_string(i));
        EXPECT_EQ(GetDlgCtrlID(child), control.id);
        EXPECT_EQ(_wcsicmp(ClassOf(child).c_str(), win32::ControlClassName(control.kind)), 0)
            << ClassOf(child).size();
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        // The dialog manager may add bits (a list box's scroll bars come and go) and draws a bordered
        // edit or list box with a sunken client edge instead; it keeps every other bit the template
        // asks for, the control type among them.
        const DWORD kept = control.style & ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL | WS_BORDER);
        EXPECT_EQ(style & kept, kept) << std::hex << style << " " << control.style;
        if (control.style & WS_BORDER) {
            const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_EXSTYLE));
            EXPECT_TRUE((style & WS_BORDER) != 0 || (exStyle & WS_EX_CLIENTEDGE) != 0);
        }
        if (control.kind != win::ControlKind::StaticIcon && control.kind != win::ControlKind::ComboBox &&
            control.kind != win::ControlKind::IpAddress) {
            EXPECT_EQ(TextOf(child), win32::WidenGbk(control.text));
        }
        // The dialog manager maps the size on its own, not the far edge.
        RECT expected{control.x, control.y, control.cx, control.cy};
        MapDialogRect(dialog, &expected);
        expected.right += expected.left;
        expected.bottom += expected.top;
        const RECT place = PlaceOf(dialog, child);
        EXPECT_EQ(place.left, expected.left);
        EXPECT_EQ(place.top, expected.top);
        if (control.kind != win::ControlKind::StaticIcon) {
            EXPECT_EQ(place.right, expected.right);
        }
        // A combo box's window is its selection field; the template's height is the dropped list's.
        if (control.kind != win::ControlKind::ComboBox && control.kind != win::ControlKind::StaticIcon) {
            EXPECT_EQ(place.bottom, expected.bottom);
        }
    }
}

struct NamedTemplate {
    const char* name;
    const win::DialogTemplate& (*get)();
};

class DialogLayoutTest : public ::testing::TestWithParam<NamedTemplate> {};

TEST_P(DialogLayoutTest, EveryControlHasItsClassStyleTextAndPlace) {
    const win::DialogTemplate& t = GetParam().get();
    win32::Win32WindowHost host;
    RecordingDialog dialog(host, t);
    RunDriven(dialog, [&](HWND native) {
        SendMessageW(native, WM_NULL, 0, 0);
        ExpectEveryControlAsTemplated(native, t);
        EXPECT_EQ(TextOf(native), win32::WidenGbk(t.caption));
        RECT client{};
        GetClientRect(native, &client);
        RECT expected{0, 0, t.cx, t.cy};
        MapDialogRect(native, &expected);
        EXPECT_EQ(client.right, expected.right);
        EXPECT_EQ(client.bottom, expected.bottom);
    });
}

INSTANTIATE_TEST_SUITE_P(BothTemplates, DialogLayoutTest,
                         ::testing::Values(NamedTemplate{"Main", res::MainDialogTemplate},
                                           NamedTemplate{"About", res::AboutDialogTemplate}),
                         [](const auto& info) { return std::string(info.param.name); });

// The texts go through code page 936 whatever the system's code page, and the font is the template's.
TEST(DialogTextTest, ChineseTextsAndFontAreTheTemplates) {
    win32::Win32WindowHost host;
    RecordingDialog dialog(host, res::MainDialogTemplate());
    RunDriven(dialog, [&](HWND native) {
        EXPECT_EQ(TextOf(GetDlgItem(native, res::IDC_GET_CURRENT)), L"获取当前IP配置");
        EXPECT_EQ(TextOf(GetDlgItem(native, res::IDC_AUTO_EXIT)), L"切换成功后自动退出");
        auto* font = reinterpret_cast<HFONT>(SendMessageW(native, WM_GETFONT, 0, 0));
        LOGFONTW logFont{};
        GetObjectW(font, sizeof logFont, &logFont);
        EXPECT_STREQ(logFont.lfFaceName, L"宋体");
    });
}

TEST(DialogTextTest, ProgramReadsAndWritesTextsInGbk) {
    win32::Win32WindowHost host;
    RecordingDialog dialog(host, res::MainDialogTemplate());
    std::string read;
    dialog.onInit = [&](RecordingDialog& d) {
        read = d.GetDlgItemText(res::IDC_AUTO_EXIT);
        d.SetDlgItemText(res::IDC_PROFILE_NAME, win32::NarrowToGbk(L"办公室"));
    };
    RunDriven(dialog,
              [&](HWND native) { EXPECT_EQ(TextOf(GetDlgItem(native, res::IDC_PROFILE_NAME)), L"办公室"); });
    EXPECT_EQ(read, win32::NarrowToGbk(L"切换成功后自动退出"));
}

}  // namespace
}  // namespace win32_test
