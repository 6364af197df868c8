// Clicks through the top-level window, as a user's pointer clicks: the window's own hit-testing picks
// the widget, so the controls' stacking and the statics that let the pointer through decide which
// control takes the press. Every control of the main dialog and of the About box is clicked at its
// centre; overlapping controls and a check box's whole rectangle are tried on their own.
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <optional>

#include "QtDialogFixture.h"
#include "controls/ListBoxCH.h"
#include "fakes/AdapterKeys.h"
#include "platform/window/Styles.h"
#include "profiles/ProfileLine.h"
#include "res/BuildSettings.h"
#include "res/Resource.h"

namespace qt_test {
namespace {

using win::ControlKind;

// Which widget took the first mouse press since Clear(): the control it belongs to (a child of the
// dialog), or the dialog itself.
class PressRecorder : public QObject {
  public:
    PressRecorder() { QApplication::instance()->installEventFilter(this); }
    ~PressRecorder() override { QApplication::instance()->removeEventFilter(this); }
    void Clear() { pressed_ = nullptr; }
    QWidget* Pressed() const { return pressed_; }

  protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonPress || !receiver->isWidgetType() || pressed_ != nullptr)
            return false;
        auto* widget = static_cast<QWidget*>(receiver);
        while (!widget->isWindow() && !widget->parentWidget()->isWindow())
            widget = widget->parentWidget();
        pressed_ = widget;
        return false;
    }

  private:
    QPointer<QWidget> pressed_;
};

// Answers every message box with its default button, pressed through the box's window.
class BoxAnswerer : public QObject {
  public:
    BoxAnswerer() {
        timer_.callOnTimeout(this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible())
                return;
            texts << box->text();
            window_input::Key(box, Qt::Key_Return);
        });
        timer_.start(10);
    }
    QStringList texts;

  private:
    QTimer timer_;
};

bool LetsThePointerThrough(const qtwin::QtWindow& control, ControlKind kind) {
    if (kind == ControlKind::GroupBox)
        return true;
    const bool isStatic = kind == ControlKind::Static || kind == ControlKind::StaticIcon;
    return isStatic && !(control.GetStyle() & win::SS_NOTIFY);
}

// Clicks the centre of every visible, enabled control of the open dialog in template order; click does
// the click and checks its effect. A control that lets the pointer through must not take the press,
// every other one must take it itself; its kind is the one the dialog's template gives it. Answers the
// ids of the controls left out.
std::vector<int> ClickEveryControl(const std::function<void(qtwin::QtWindow&, ControlKind)>& click) {
    PressRecorder presses;
    std::vector<int> leftOut;
    const qtwin::QtDialogWindow& dialog = QtDialogFixture::OpenDialog().Window();
    const std::vector<win::ControlTemplate>& controls = dialog.Dialog().GetTemplate().controls;
    for (std::size_t i = 0; i < dialog.Children().size(); ++i) {
        qtwin::QtWindow* control = dialog.Children()[i].get();
        const ControlKind kind = controls.at(i).kind;
        QPointer<QWidget> widget = control->Widget();
        if (!widget->isVisible() || !widget->isEnabled()) {
            leftOut.push_back(control->GetDlgCtrlID());
            continue;
        }
        SCOPED_TRACE(testing::Message() << "control " << control->GetDlgCtrlID());
        presses.Clear();
        click(*control, kind);
        if (LetsThePointerThrough(*control, kind)) {
            EXPECT_NE(presses.Pressed(), widget.data()) << "the pointer went through";
        } else {
            EXPECT_EQ(presses.Pressed(), widget.data()) << "the control took its own press";
        }
    }
    return leftOut;
}

class PointerTest : public QtDialogFixture {
  protected:
    void SetUp() override {
        QtDialogFixture::SetUp();
        fakes::AddAdapter(registry, "0000", "ethernet", "Realtek PCIe GbE", "{B2}");
        fakes::AddAdapter(registry, "0001", "ethernet", "Intel PRO/1000", "{C3}");
        fakes::AddInterface(registry, "{B2}", "192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8.8");
        std::ofstream(ProfilePath(), std::ios::binary)
            << "home|0|Realtek PCIe GbE|192.168.1.20|255.255.255.0|192.168.1.1|8.8.8.8|\r\n"
               "office|1|Intel PRO/1000|10.0.0.20|255.0.0.0|10.0.0.1||\r\n"
               "lab|2|Intel PRO/1000|10.1.0.20|255.255.0.0|||\r\n";
    }

    void ClickAndCheck(qtwin::QtWindow& control, ControlKind kind);
    void CheckButton(int id);
    void ClickEveryControlOfTheAboutBox();

    BoxAnswerer boxes;
    std::optional<std::vector<int>> aboutLeftOut;
    bool aboutEnded = false;
};

std::string LinkTarget(int id) {
    switch (id) {
        case res::IDC_MESSENGER_LINK:
            return res::kMessengerLinkUrl;
        case res::IDC_MAIL_LINK:
            return res::kMailLinkUrl;
        default:
            return std::string(res::kHomepageUrl);
    }
}

std::string NameOfLine(int index) {
    return profiles::SplitProfileLine(app::profileLines.at(static_cast<std::size_t>(index))).name;
}

void PointerTest::ClickAndCheck(qtwin::QtWindow& control, ControlKind kind) {
    QWidget* widget = control.Widget();
    const int checkBefore = control.GetCheck();
    const std::size_t shellCallsBefore = shell.calls.size();
    switch (kind) {
        case ControlKind::PushButton:
            return CheckButton(control.GetDlgCtrlID());
        // The dialog's own focus widget, where its keys go: offscreen no window is active again after a
        // message box closed, where a window manager would activate the dialog on the click.
        case ControlKind::Edit:
            window_input::Click(widget);
            EXPECT_EQ(OpenDialog().focusWidget(), widget);
            PressKey(Qt::Key_End);
            TypeKeys(QStringLiteral("xy"));
            EXPECT_TRUE(static_cast<QLineEdit*>(widget)->text().endsWith(QStringLiteral("xy")));
            return;
        case ControlKind::IpAddress: {
            window_input::Click(widget);
            ASSERT_NE(OpenDialog().focusWidget(), nullptr);
            EXPECT_EQ(OpenDialog().focusWidget()->parentWidget(), widget)
                << "one of its fields has the focus";
            PressKey(Qt::Key_A, Qt::ControlModifier);
            TypeKeys(QStringLiteral("7"));
            const QString text = QString::fromStdString(control.GetWindowText());
            EXPECT_TRUE(text.split('.').contains(QStringLiteral("7"))) << text.toStdString();
            return;
        }
        case ControlKind::CheckBox:
            window_input::Click(widget);
            EXPECT_NE(control.GetCheck(), checkBefore) << "toggled";
            return;
        case ControlKind::ComboBox: {
            window_input::Click(widget);
            auto* combo = static_cast<QComboBox*>(widget);
            EXPECT_TRUE(combo->view()->isVisible()) << "the list dropped down";
            if (QWidget* popup = QApplication::activePopupWidget())
                window_input::Key(popup, Qt::Key_Escape);
            EXPECT_FALSE(combo->view()->isVisible());
            return;
        }
        case ControlKind::ListBox: {
            const QWidget* viewport = static_cast<QAbstractScrollArea*>(widget)->viewport();
            const int row = viewport->mapFrom(widget, window_input::Centre(widget)).y() /
                            controls::CListBoxCH::kRowHeight;
            ASSERT_NE(control.GetCurSel(), row) << "the click changes the current row";
            window_input::Click(widget);
            EXPECT_EQ(control.GetCurSel(), row);
            EXPECT_EQ(Item(res::IDC_PROFILE_NAME).GetWindowText(), NameOfLine(row)) << "the row is current";
            return;
        }
        default:
            window_input::Click(widget);
            if (!LetsThePointerThrough(control, kind)) {
                ASSERT_EQ(shell.calls.size(), shellCallsBefore + 1) << "the link opened";
                EXPECT_EQ(shell.calls.back().file, LinkTarget(control.GetDlgCtrlID()));
            }
            return;
    }
}

// The buttons' commands, seen in what they did.
void PointerTest::CheckButton(int id) {
    QWidget* widget = Widget(id);
    win::HWND list = OpenDialog().Window().GetDlgItem(res::IDC_PROFILE_LIST);
    const int count = list->GetCount();
    const int current = list->GetCurSel();
    const qsizetype boxesBefore = boxes.texts.size();
    const std::size_t shellCallsBefore = shell.calls.size();
    if (id == res::IDC_ABOUT) {
        QTimer::singleShot(0, [this] { ClickEveryControlOfTheAboutBox(); });
    }
    window_input::Click(widget);
    switch (id) {
        case res::IDC_SWITCH:
            EXPECT_GT(boxes.texts.size(), boxesBefore) << "the switch reported its outcome";
            break;
        case res::IDC_ADD:
            EXPECT_EQ(list->GetCount(), count + 1);
            break;
        case res::IDC_MODIFY:
            ASSERT_GE(current, 0);
            EXPECT_EQ(NameOfLine(current), Item(res::IDC_PROFILE_NAME).GetWindowText());
            break;
        case res::IDC_DELETE:
            EXPECT_EQ(boxes.texts.size(), boxesBefore + 1) << "asked first";
            EXPECT_EQ(list->GetCount(), count - 1);
            break;
        case res::IDC_GET_CURRENT:
            EXPECT_EQ(Item(res::IDC_PROFILE_NAME).GetWindowText(), Gbk("当前IP配置"));
            break;
        case res::IDC_HELP_BUTTON:
            ASSERT_EQ(shell.calls.size(), shellCallsBefore + 1);
            EXPECT_EQ(shell.calls.back().file, Gbk("使用说明.txt"));
            break;
        case res::IDC_ABOUT:
            EXPECT_EQ(aboutLeftOut, std::vector<int>{}) << "every control of the About box was clicked";
            EXPECT_TRUE(aboutEnded) << "its OK button closed it";
            break;
        default:
            ADD_FAILURE() << "a button without a check";
    }
}

// Inside the About box's modal loop, opened by the click on the About button.
void PointerTest::ClickEveryControlOfTheAboutBox() {
    if (dynamic_cast<qtwin::QtDialogWidget*>(QApplication::activeModalWidget()) == nullptr ||
        OpenDialog().Window().Children().size() != res::AboutDialogTemplate().controls.size()) {
        ADD_FAILURE() << "the About box did not open";
        return;
    }
    qtwin::QtDialogWindow& about = OpenDialog().Window();
    aboutLeftOut = ClickEveryControl(
        [](qtwin::QtWindow& control, ControlKind) { window_input::Click(control.Widget()); });
    aboutEnded = about.Ended();
}

TEST_F(PointerTest, EveryControlTakesItsOwnClickAndEveryStaticLetsItThrough) {
    std::vector<int> leftOut;
    RunProgram([&] {
        leftOut = ClickEveryControl(
            [this](qtwin::QtWindow& control, ControlKind kind) { ClickAndCheck(control, kind); });
    });
    EXPECT_EQ(leftOut, (std::vector<int>{res::IDC_LABEL_MODIFY, res::IDC_LABEL_DELETE}))
        << "only the labels that the Get Current command hid";
}

// Two buttons that overlap: the one earlier in the template lies on top and takes the click.
const win::DialogTemplate& OverlapTemplate() {
    using namespace win;
    constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    static const DialogTemplate dialogTemplate{
        900,
        "overlap",
        120,
        40,
        WS_POPUP | WS_CAPTION | WS_SYSMENU,
        0,
        "",
        9,
        {
            {ControlKind::PushButton, 201, "first", 10, 10, 40, 14, kButton, 0, 0},
            {ControlKind::PushButton, 202, "second", 30, 10, 40, 14, kButton, 0, 0},
        },
    };
    return dialogTemplate;
}

using HitTestTest = QtDialogFixture;

TEST_F(HitTestTest, WhereControlsOverlapTheEarlierOneIsOnTop) {
    RecordingDialog dialog(host, OverlapTemplate());
    WhenOpen([&] {
        QWidget* first = Widget(201);
        QWidget* second = Widget(202);
        const QRect overlap = first->geometry().intersected(second->geometry());
        ASSERT_FALSE(overlap.isEmpty());
        window_input::Click(first, first->mapFrom(&OpenDialog(), overlap.center()));
        window_input::Click(second, QPoint(second->width() - 3, second->height() / 2));
    });
    dialog.DoModal();
    const std::vector<Heard> heard = dialog.heard();
    ASSERT_GE(heard.size(), 2u);
    EXPECT_EQ(heard[0].controlId, 201);
    EXPECT_EQ(heard[1].controlId, 202) << "the later one still takes what it does not share";
}

// A check box answers a click anywhere in its window, also right of its text.
TEST_F(HitTestTest, CheckBoxTakesAClickAnywhereInItsRectangle) {
    RecordingDialog dialog(host);
    int check = -1;
    WhenOpen([&] {
        QWidget* box = Widget(res::IDC_AUTOSTART);
        window_input::Click(box, QPoint(box->width() - 2, box->height() / 2));
        check = Item(res::IDC_AUTOSTART).GetCheck();
    });
    dialog.DoModal();
    EXPECT_EQ(check, win::BST_CHECKED);
    ASSERT_FALSE(dialog.heard().empty());
    EXPECT_EQ(dialog.heard()[0].controlId, res::IDC_AUTOSTART);
}

}  // namespace
}  // namespace qt_test
