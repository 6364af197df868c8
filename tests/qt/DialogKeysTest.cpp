// Enter, Esc and the close box on the real dialog: which command each one gives, and which of them runs
// the close sequence.
#include <QTest>

#include "QtDialogFixture.h"
#include "res/Resource.h"

namespace qt_test {
namespace {

using DialogKeysTest = QtDialogFixture;

struct EnterCase {
    const char* name;
    int focusedControl;
    int pressedButton;
};

TEST_F(DialogKeysTest, EnterPressesTheFocusedPushButtonElseTheDefaultOne) {
    const EnterCase cases[] = {
        {"switch button", res::IDC_SWITCH, res::IDC_SWITCH},
        {"add button", res::IDC_ADD, res::IDC_ADD},
        {"profile name edit", res::IDC_PROFILE_NAME, res::IDC_GET_CURRENT},
        {"address field", res::IDC_IP_ADDRESS, res::IDC_GET_CURRENT},
        {"check box", res::IDC_AUTOSTART, res::IDC_GET_CURRENT},
        {"profile list", res::IDC_PROFILE_LIST, res::IDC_GET_CURRENT},
    };
    for (const EnterCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingDialog dialog(host);
        WhenOpen([&] {
            Widget(c.focusedControl)->setFocus(Qt::TabFocusReason);
            PressKey(Qt::Key_Return);
        });
        dialog.DoModal();
        const std::vector<Heard> heard = dialog.heard();
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.front().controlId, c.pressedButton);
        EXPECT_EQ(heard.front().code, win::BN_CLICKED);
    }
}

TEST_F(DialogKeysTest, EscIsTheCancelCommandAndEndsTheDialog) {
    RecordingDialog dialog(host);
    WhenOpen([] { PressKey(Qt::Key_Escape); });
    EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);
    ASSERT_EQ(dialog.heard().size(), 1u);
    EXPECT_EQ(dialog.heard()[0].controlId, win::IDCANCEL);
}

TEST_F(DialogKeysTest, EscEndsTheProgramWithoutTheCloseSequence) {
    RunProgram([] { PressKey(Qt::Key_Escape); });
    EXPECT_FALSE(std::filesystem::exists(ProfilePath())) << "nothing was saved";
}

TEST_F(DialogKeysTest, CloseBoxRunsTheCloseSequence) {
    bool closedAtOnce = false;
    RunProgram([&] {
        // The close box: the window manager asks the window to close.
        qtwin::QtDialogWidget& dialog = OpenDialog();
        dialog.windowHandle()->close();
        closedAtOnce = dialog.Window().Ended();
    });
    EXPECT_TRUE(closedAtOnce);
    EXPECT_TRUE(std::filesystem::exists(ProfilePath()))
        << "the close sequence saved the (empty) profile file";
}

TEST_F(DialogKeysTest, SwitchButtonClickIsReportedOnRelease) {
    RecordingDialog dialog(host);
    WhenOpen([&] {
        QWidget* button = Widget(res::IDC_SWITCH);
        window_input::Press(button, window_input::Centre(button));
        EXPECT_TRUE(dialog.heard().empty()) << "nothing on the press";
        window_input::Release(button, window_input::Centre(button));
        EXPECT_EQ(dialog.heard().size(), 1u);
    });
    dialog.DoModal();
    ASSERT_GE(dialog.heard().size(), 1u);
    EXPECT_EQ(dialog.heard()[0], (Heard{res::IDC_SWITCH, win::BN_CLICKED, -1, true}));
}

}  // namespace
}  // namespace qt_test
