// The main dialog as the real widgets lay it out: its size and every control's place, kind and text in
// pixels of the dialog font, and the focus at start.
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "QtDialogFixture.h"
#include "platform/qt/QtIpAddressEdit.h"
#include "platform/qt/QtOwnerDrawList.h"
#include "platform/qt/QtStatic.h"
#include "res/Resource.h"

namespace qt_test {
namespace {

using win::ControlKind;

// Base units measured here as the dialog manager measures them: the alphabet's average width, the
// character height.
struct Units {
    int x;
    int y;
    int X(int du) const { return (du * x + 2) / 4; }
    int Y(int du) const { return (du * y + 4) / 8; }
};

Units MeasureUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(alphabet / 26 + 1) / 2, metrics.height()};
}

bool HasKind(QWidget* widget, ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
            return qobject_cast<QPushButton*>(widget) != nullptr;
        case ControlKind::CheckBox:
            return qobject_cast<QCheckBox*>(widget) != nullptr;
        case ControlKind::Edit:
            return qobject_cast<QLineEdit*>(widget) != nullptr;
        case ControlKind::ComboBox:
            return qobject_cast<QComboBox*>(widget) != nullptr;
        case ControlKind::ListBox:
            return dynamic_cast<qtwin::QtOwnerDrawList*>(widget) != nullptr;
        case ControlKind::IpAddress:
            return dynamic_cast<qtwin::QtIpAddressEdit*>(widget) != nullptr;
        case ControlKind::Static:
        case ControlKind::StaticIcon:
        case ControlKind::GroupBox:
            return dynamic_cast<qtwin::QtStatic*>(widget) != nullptr;
    }
    return false;
}

using DialogLayoutTest = QtDialogFixture;

TEST_F(DialogLayoutTest, DialogIsItsTemplateSizeInTheChineseDialogFont) {
    RunProgram([] {
        QWidget& dialog = OpenDialog();
        const QFontInfo font(dialog.font());
        EXPECT_TRUE(font.family().startsWith(QStringLiteral("WenQuanYi"))) << font.family().toStdString();
        EXPECT_TRUE(QFontMetrics(dialog.font()).inFontUcs4(U'配')) << "the font has the Chinese characters";
        const Units units = MeasureUnits(dialog.font());
        EXPECT_GE(units.x, 5);
        EXPECT_GE(units.y, 12);
        EXPECT_EQ(dialog.width(), units.X(349));
        EXPECT_EQ(dialog.height(), units.Y(251));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Ostrelle v3.2"));
    });
}

TEST_F(DialogLayoutTest, EveryControlIsARealWidgetAtItsRectangle) {
    RunProgram([] {
        const Units units = MeasureUnits(OpenDialog().font());
        for (const win::ControlTemplate& control : res::MainDialogTemplate().controls) {
            SCOPED_TRACE(control.id);
            ASSERT_NE(OpenDialog().Window().GetDlgItem(control.id), nullptr);
            QWidget* widget = Widget(control.id);
            ASSERT_NE(widget, nullptr);
            EXPECT_TRUE(HasKind(widget, control.kind));
            EXPECT_EQ(widget->parentWidget(), &OpenDialog());
            EXPECT_EQ(widget->x(), units.X(control.x));
            EXPECT_EQ(widget->y(), units.Y(control.y));
            EXPECT_EQ(widget->width(), units.X(control.cx));
            // A combo box's window is its selection field; the template's height is its dropped list's.
            if (control.kind != ControlKind::ComboBox) {
                EXPECT_EQ(widget->height(), units.Y(control.cy));
            }
        }
    });
}

TEST_F(DialogLayoutTest, TextsAreTheTemplatesAndIconButtonsShowIcons) {
    RunProgram([] {
        for (const win::ControlTemplate& control : res::MainDialogTemplate().controls) {
            SCOPED_TRACE(control.id);
            // The group box above the address fields and the name edit are set by the dialog as it opens.
            if (control.id == res::IDC_CONFIG_GROUP || control.kind == ControlKind::Edit)
                continue;
            if (control.kind == ControlKind::IpAddress || control.kind == ControlKind::ComboBox)
                continue;
            if (control.kind == ControlKind::ListBox)
                continue;
            EXPECT_EQ(Item(control.id).GetWindowText(), control.text);
            auto* button = qobject_cast<QPushButton*>(Widget(control.id));
            if (button == nullptr)
                continue;
            if (control.style & 0x40) {  // BS_ICON
                EXPECT_TRUE(button->text().isEmpty());
                EXPECT_FALSE(button->icon().isNull());
            } else {
                EXPECT_EQ(button->text().toStdString(), text::GbkToUtf8(control.text));
            }
        }
        EXPECT_EQ(Item(res::IDC_CONFIG_GROUP).GetWindowText(), Gbk("当前的IP配置"));
    });
}

TEST_F(DialogLayoutTest, FocusStartsOnTheSwitchButtonAndTabFollowsTheTemplate) {
    RunProgram([] {
        EXPECT_EQ(QApplication::focusWidget(), Widget(res::IDC_SWITCH));
        PressKey(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Widget(res::IDC_ADAPTER_BOX));
        PressKey(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->parentWidget(), Widget(res::IDC_IP_ADDRESS))
            << "the address control is one tab stop";
        PressKey(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->parentWidget(), Widget(res::IDC_SUBNET_MASK));
    });
}

TEST_F(DialogLayoutTest, ContextMenuOffersTheAboutCommand) {
    RunProgram([] {
        const auto& menu = OpenDialog().Window().SystemMenu();
        ASSERT_EQ(menu.size(), 2u);
        EXPECT_EQ(menu[0].commandId, 0u) << "a separator first";
        EXPECT_EQ(menu[1].commandId, 0x10u);
        EXPECT_EQ(menu[1].text, QString::fromUtf8("关于 Corvane(&A)..."));
    });
}

}  // namespace
}  // namespace qt_test
