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
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
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
    WhenOpen([] { QTest::keyClick(Widget(res::IDC_SWITCH), Qt::Key_Escape); });
    EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);
    ASSERT_EQ(dialog.heard().size(), 1u);
    EXPECT_EQ(dialog.heard()[0].controlId, win::IDCANCEL);
}

TEST_F(DialogKeysTest, EscEndsTheProgramWithoutTheCloseSequence) {
    RunProgram([] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
    EXPECT_FALSE(std::filesystem::exists(ProfilePath())) << "nothing was saved";
}

TEST_F(DialogKeysTest, CloseBoxRunsTheCloseSequence) {
    bool closedAtOnce = false;
    RunProgram([&] {
        qtwin::QtDialogWidget& dialog = OpenDialog();
        dialog.close();
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
        QTest::mousePress(button, Qt::LeftButton);
        EXPECT_TRUE(dialog.heard().empty()) << "nothing on the press";
        QTest::mouseRelease(button, Qt::LeftButton);
        EXPECT_EQ(dialog.heard().size(), 1u);
    });
    dialog.DoModal();
    ASSERT_GE(dialog.heard().size(), 1u);
    EXPECT_EQ(dialog.heard()[0], (Heard{res::IDC_SWITCH, win::BN_CLICKED, -1, true}));
}

}  // namespace
}  // namespace qt_test
