// The dialog's context menu standing in for the system menu, the About box's picture and texts, the hand
// cursor of the set-cursor request, and the prefix rule of the drawing surface.
#include <QMenu>
#include <QPainter>
#include <QTest>

#include "QtDialogFixture.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/QtDeviceContext.h"
#include "platform/qt/QtStatic.h"
#include "platform/window/Styles.h"
#include "res/Resource.h"
#include "services/AboutDlg.h"

namespace qt_test {
namespace {

using MenusAndPicturesTest = QtDialogFixture;

class MenuDialog : public RecordingDialog {
  public:
    using RecordingDialog::RecordingDialog;
    bool OnInitDialog() override {
        GetSafeHwnd()->AppendSystemMenuSeparator();
        GetSafeHwnd()->AppendSystemMenuItem(0x10, Gbk("关于 Corvane(&A)..."));
        return true;
    }
    void OnSysCommand(win::UINT commandId) override { sysCommands.push_back(commandId); }
    std::vector<win::UINT> sysCommands;
};

TEST_F(MenusAndPicturesTest, RightClickOnTheDialogOffersTheSystemMenuItems) {
    MenuDialog dialog(host);
    QStringList shown;
    WhenOpen([&] {
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr)
                return;
            for (QAction* action : menu->actions()) {
                shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
            }
            // The popup menu is a window of its own; the click on the item closes it.
            window_input::Click(menu, menu->actionGeometry(menu->actions().back()).center());
        });
        // A right click on the dialog's background, where no control lies.
        window_input::Click(&OpenDialog(), QPoint(2, 2), Qt::RightButton);
    });
    dialog.DoModal();
    EXPECT_EQ(shown, QStringList{QString::fromUtf8("关于 Corvane(&A)...")})
        << "a leading separator is left out";
    EXPECT_EQ(dialog.sysCommands, std::vector<win::UINT>{0x10});
}

TEST_F(MenusAndPicturesTest, AboutBoxShowsTheProgramIconAndItsTexts) {
    services::CAboutDlg about(host);
    QImage image;
    QRect iconRect;
    std::vector<std::string> texts;
    WhenOpen([&] {
        image = OpenDialog().grab().toImage();
        const auto& children = OpenDialog().Window().Children();
        for (std::size_t i = 0; i < children.size(); ++i) {
            texts.push_back(children[i]->GetWindowText());
            if (res::AboutDialogTemplate().controls[i].kind == win::ControlKind::StaticIcon)
                iconRect = children[i]->Widget()->geometry();
        }
    });
    about.DoModal();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1], "Ostrelle v3.2");
    EXPECT_EQ(texts[3], Gbk("确定"));
    ASSERT_FALSE(iconRect.isEmpty());
    // The program icon's blue tile fills the middle of the picture.
    const QColor middle = image.pixelColor(iconRect.left() + 16, iconRect.top() + 3);
    EXPECT_EQ(middle, QColor(0x2a, 0x6f, 0xb8));
}

class CursorStatic : public win::CWnd {
  public:
    bool OnSetCursor(win::UINT, win::UINT) override {
        Host().SetCursor(Host().LoadCursor(res::IDC_HAND_CURSOR));
        ++requests;
        return true;
    }
    void OnMouseMove(win::UINT, win::Point point) override { moves.push_back(point); }
    int requests = 0;
    std::vector<win::Point> moves;
};

// The link static with SS_NOTIFY, as a link makes it; the plain label keeps its template style.
class CursorDialog : public RecordingDialog {
  public:
    using RecordingDialog::RecordingDialog;
    bool OnInitDialog() override {
        SubclassDlgItem(link, res::IDC_MAIL_LINK);
        SubclassDlgItem(label, res::IDC_LABEL_NAME);
        win::HWND linkWindow = GetDlgItem(res::IDC_MAIL_LINK);
        linkWindow->SetStyle(linkWindow->GetStyle() | win::SS_NOTIFY);
        return true;
    }
    CursorStatic link;
    CursorStatic label;
};

TEST_F(MenusAndPicturesTest, PointerOverANotifyingStaticAsksItForTheCursorThenReportsTheMove) {
    CursorDialog dialog(host);
    QCursor cursor;
    WhenOpen([&] {
        QWidget* link = Widget(res::IDC_MAIL_LINK);
        window_input::Move(link, QPoint(3, 4));
        cursor = link->cursor();
        window_input::Move(Widget(res::IDC_LABEL_NAME), QPoint(3, 4));
    });
    dialog.DoModal();
    EXPECT_GE(dialog.link.requests, 1);
    ASSERT_FALSE(dialog.link.moves.empty());
    EXPECT_EQ(dialog.link.moves.back(), (win::Point{3, 4}));
    EXPECT_EQ(cursor.hotSpot(), QPoint(7, 7)) << "the hand cursor";
    EXPECT_FALSE(cursor.pixmap().isNull());
    EXPECT_EQ(dialog.label.requests, 0) << "a static without SS_NOTIFY lets the pointer through";
    EXPECT_TRUE(dialog.label.moves.empty());
}

// What DrawText leaves in a small white picture.
QImage Drawn(const char* text, win::UINT format) {
    QImage image(80, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    qtwin::QtDeviceContext dc(painter, qtwin::DialogFont(res::MainDialogTemplate()));
    dc.SetBkMode(win::TRANSPARENT);
    dc.DrawText(text, {0, 0, 80, 20}, format);
    painter.end();
    return image;
}

TEST_F(MenusAndPicturesTest, AmpersandsFollowThePrefixRuleUnlessNoPrefix) {
    EXPECT_EQ(Drawn("a&&b", win::DT_SINGLELINE), Drawn("a&b", win::DT_SINGLELINE | win::DT_NOPREFIX))
        << "two ampersands show one";
    EXPECT_NE(Drawn("&ab", win::DT_SINGLELINE), Drawn("&ab", win::DT_SINGLELINE | win::DT_NOPREFIX));
    EXPECT_NE(Drawn("&ab", win::DT_SINGLELINE), Drawn("ab", win::DT_SINGLELINE))
        << "the prefixed letter is underlined";
}

}  // namespace
}  // namespace qt_test
