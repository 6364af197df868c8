// Controls of the backend that the program reaches through the window interface: the address fields'
// text in and out, the drop-down list's selection change, and the owner-drawn combo box's requests.
#include <QComboBox>
#include <QTest>

#include "QtDialogFixture.h"
#include "platform/qt/QtIpAddressEdit.h"
#include "res/Resource.h"

namespace qt_test {
namespace {

using ControlsTest = QtDialogFixture;

struct AddressCase {
    const char* set;
    const char* read;
};

TEST_F(ControlsTest, AddressFieldsTakeAndGiveDottedText) {
    const AddressCase cases[] = {
        {"192.168.1.10", "192.168.1.10"},
        {"0.0.0.0", "0.0.0.0"},
        {"255.255.255.255", "255.255.255.255"},
        {"", ""},
        {"1.2.3", ""},
        {"1.2.3.256", ""},
        {"1.2.3.4.5", ""},
        {"a.b.c.d", ""},
        {"010.001.0.9", "10.1.0.9"},
    };
    RecordingDialog dialog(host);
    WhenOpen([&] {
        win::HWND field = dialog.GetDlgItem(res::IDC_IP_ADDRESS);
        for (const AddressCase& c : cases) {
            SCOPED_TRACE(c.set);
            field->SetWindowText("9.9.9.9");
            field->SetWindowText(c.set);
            EXPECT_EQ(field->GetWindowText(), c.read);
        }
        field->SetAddress(0xC0A80001);
        EXPECT_EQ(field->GetWindowText(), "192.168.0.1") << "the first field is the high byte";
        field->ClearAddress();
        EXPECT_EQ(field->GetWindowText(), "");
    });
    dialog.DoModal();
}

TEST_F(ControlsTest, TypedAddressMovesOnAtDotsAndClampsFields) {
    RecordingDialog dialog(host);
    std::string typed;
    std::string partial;
    std::string clamped;
    WhenOpen([&] {
        // Each character goes to whichever field has the focus at that moment, as a user's keys arrive.
        auto* edit = static_cast<qtwin::QtIpAddressEdit*>(Widget(res::IDC_IP_ADDRESS));
        window_input::Click(edit->Field(0));
        TypeKeys(QStringLiteral("10.0.12.254"));
        typed = dialog.GetDlgItem(res::IDC_IP_ADDRESS)->GetWindowText();
        dialog.GetDlgItem(res::IDC_SUBNET_MASK)->SetWindowText("");
        auto* mask = static_cast<qtwin::QtIpAddressEdit*>(Widget(res::IDC_SUBNET_MASK));
        window_input::Click(mask->Field(0));
        TypeKeys(QStringLiteral("172"));
        partial = dialog.GetDlgItem(res::IDC_SUBNET_MASK)->GetWindowText();
        TypeKeys(QStringLiteral("999"));
        clamped = dialog.GetDlgItem(res::IDC_SUBNET_MASK)->GetWindowText();
    });
    dialog.DoModal();
    EXPECT_EQ(typed, "10.0.12.254");
    EXPECT_EQ(partial, "172.0.0.0") << "blank fields among filled ones read as 0";
    EXPECT_EQ(clamped, "172.255.0.0") << "three digits moved on to the next field, 999 became 255";
}

TEST_F(ControlsTest, DropDownListReportsTheSelectionChangeAfterTakingIt) {
    RecordingDialog dialog(host);
    WhenOpen([&] {
        win::HWND box = dialog.GetDlgItem(res::IDC_ADAPTER_BOX);
        box->AddString("eth0");
        box->AddString("eth1");
        EXPECT_EQ(box->GetCurSel(), -1) << "adding selects nothing";
        box->SetCurSel(0);
        EXPECT_EQ(box->GetWindowText(), "eth0");
        Widget(res::IDC_ADAPTER_BOX)->setFocus(Qt::TabFocusReason);
        PressKey(Qt::Key_Down);
        EXPECT_EQ(box->GetWindowText(), "eth1");
    });
    dialog.DoModal();
    ASSERT_GE(dialog.heard().size(), 1u);
    EXPECT_EQ(dialog.heard()[0], (Heard{res::IDC_ADAPTER_BOX, win::CBN_SELCHANGE, 1, true}))
        << "one change, set programmatically changes report nothing";
}

TEST_F(ControlsTest, TextLimitStopsTypingButKeepsALongerTextSetByTheProgram) {
    RecordingDialog dialog(host);
    std::string typed;
    std::string longName;
    std::string shortened;
    WhenOpen([&] {
        win::HWND edit = dialog.GetDlgItem(res::IDC_PROFILE_NAME);
        edit->LimitText(12);
        edit->SetWindowText("");
        ClickControl(res::IDC_PROFILE_NAME);
        TypeKeys(QStringLiteral("abcdefghijklmnop"));
        typed = edit->GetWindowText();
        edit->SetWindowText(Gbk("一个比十二个字符还要长得多的配置名称"));
        longName = edit->GetWindowText();
        PressKey(Qt::Key_End);
        PressKey(Qt::Key_Backspace);
        TypeKeys(QStringLiteral("x"));
        shortened = edit->GetWindowText();
    });
    dialog.DoModal();
    EXPECT_EQ(typed, "abcdefghijkl");
    EXPECT_EQ(longName, Gbk("一个比十二个字符还要长得多的配置名称"));
    EXPECT_EQ(shortened, Gbk("一个比十二个字符还要长得多的配置名")) << "deleting works, typing more does not";
}

// Which calls are a control's own: the others must leave it as it was and answer their failure value,
// as the program asks any control, for instance whether it is a checked button.
struct KindCase {
    int id;
    bool checkable;
    bool hasEntries;
    bool hasAddress;
};

TEST_F(ControlsTest, CallsOfAnotherKindLeaveAControlAsItWasAndAnswerFailure) {
    const KindCase cases[] = {
        {res::IDC_SWITCH, false, false, false},       {res::IDC_AUTOSTART, true, false, false},
        {res::IDC_PROFILE_NAME, false, false, false}, {res::IDC_IP_ADDRESS, false, false, true},
        {res::IDC_ADAPTER_BOX, false, true, false},   {res::IDC_PROFILE_LIST, false, true, false},
        {res::IDC_CONFIG_GROUP, false, false, false}, {res::IDC_LABEL_IP, false, false, false},
    };
    RecordingDialog dialog(host);
    WhenOpen([&] {
        dialog.GetDlgItem(res::IDC_PROFILE_NAME)->SetWindowText("name");
        dialog.GetDlgItem(res::IDC_IP_ADDRESS)->SetWindowText("10.0.0.1");
        for (const KindCase& c : cases) {
            SCOPED_TRACE(c.id);
            win::HWND control = dialog.GetDlgItem(c.id);
            const std::string text = control->GetWindowText();
            EXPECT_EQ(control->GetDlgItem(c.id), nullptr);
            EXPECT_FALSE(control->HasSystemMenu());
            control->EndDialog(win::IDOK);
            EXPECT_EQ(control->SendMessage(win::WM_CLOSE, 0, 0), 0);
            if (!c.checkable) {
                control->SetCheck(win::BST_CHECKED);
                EXPECT_EQ(control->GetCheck(), win::BST_UNCHECKED);
            }
            if (!c.hasEntries) {
                EXPECT_EQ(control->AddString("entry"), win::LB_ERR);
                EXPECT_EQ(control->GetCount(), 0);
                EXPECT_EQ(control->SetCurSel(0), win::LB_ERR);
                EXPECT_EQ(control->GetCurSel(), win::LB_ERR);
                EXPECT_EQ(control->GetItemData(0), static_cast<std::uintptr_t>(win::LB_ERR));
            }
            if (!c.hasAddress) {
                control->SetAddress(0x01020304);
                control->ClearAddress();
            }
            EXPECT_EQ(control->GetWindowText(), text);
        }
        EXPECT_FALSE(OpenDialog().Window().Ended()) << "only the dialog's own EndDialog ends it";
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.heard(), (std::vector<Heard>{{win::IDCANCEL, win::BN_CLICKED, -1, true}}))
        << "no close request reached the dialog, only the Esc that ended it";
}

// An owner-drawn combo box's handler: what it was asked.
class IconBoxHandler : public win::CWnd {
  public:
    void MeasureItem(win::MeasureItemStruct& measure) override {
        measured.push_back(measure.itemId);
        measure.itemHeight = 34;
    }
    void DrawItem(win::DrawItemStruct& draw) override {
        if (draw.itemId >= 0)
            drawn.push_back(draw.itemData);
    }
    void DeleteItem(win::DeleteItemStruct& deleted) override {
        deletedData.push_back(deleted.itemData);
        Default();
    }
    std::vector<int> measured;
    std::vector<std::uintptr_t> drawn;
    std::vector<std::uintptr_t> deletedData;
};

class IconBoxDialog : public RecordingDialog {
  public:
    using RecordingDialog::RecordingDialog;
    bool OnInitDialog() override {
        SubclassDlgItem(handler, res::IDC_ICON_BOX);
        return true;
    }
    IconBoxHandler handler;
};

TEST_F(ControlsTest, OwnerDrawnComboMeasuresDrawsAndReportsEveryDeletion) {
    IconBoxDialog dialog(host);
    int fieldHeight = 0;
    WhenOpen([&] {
        win::HWND box = dialog.GetDlgItem(res::IDC_ICON_BOX);
        box->SetItemHeight(-1, 34);
        fieldHeight = Widget(res::IDC_ICON_BOX)->height();
        for (std::uintptr_t data : {11u, 12u, 13u})
            box->SetItemData(box->AddString(""), data);
        box->SetCurSel(1);
        Widget(res::IDC_ICON_BOX)->repaint();
        EXPECT_EQ(box->DeleteString(0), 2);
        EXPECT_EQ(box->GetCurSel(), 0) << "the selection moved up with its entry";
        EXPECT_EQ(box->GetItemData(0), 12u);
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.handler.measured, (std::vector<int>{0, 1, 2}));
    EXPECT_GE(fieldHeight, 34);
    EXPECT_LE(fieldHeight, 42);
    ASSERT_FALSE(dialog.handler.drawn.empty());
    EXPECT_EQ(dialog.handler.drawn.back(), 12u) << "the selection field shows the selected entry";
    EXPECT_EQ(dialog.handler.deletedData, (std::vector<std::uintptr_t>{11u, 12u, 13u}))
        << "one by DeleteString, the rest when the window went away";
    EXPECT_FALSE(dialog.handler.IsAttached()) << "the handler forgot the destroyed window";
}

// An owner-drawn list's handler: each draw request as (entry, action, selected).
struct DrawRequest {
    int itemId;
    win::UINT action;
    bool selected;
    friend bool operator==(const DrawRequest&, const DrawRequest&) = default;
};

class ListHandler : public win::CWnd {
  public:
    void MeasureItem(win::MeasureItemStruct& measure) override { measure.itemHeight = 20; }
    void DrawItem(win::DrawItemStruct& draw) override {
        draws.push_back({draw.itemId, draw.itemAction, (draw.itemState & win::ODS_SELECTED) != 0});
    }
    std::vector<DrawRequest> draws;
};

class ListDialog : public RecordingDialog {
  public:
    using RecordingDialog::RecordingDialog;
    bool OnInitDialog() override {
        SubclassDlgItem(handler, res::IDC_PROFILE_LIST);
        return true;
    }
    ListHandler handler;
};

TEST_F(ControlsTest, SelectionChangeRedrawsOnlyTheTwoEntriesWithTheSelectAction) {
    ListDialog dialog(host);
    std::vector<DrawRequest> whole;
    std::vector<DrawRequest> afterChange;
    WhenOpen([&] {
        win::HWND list = dialog.GetDlgItem(res::IDC_PROFILE_LIST);
        for (int i = 0; i < 4; ++i)
            list->AddString("");
        list->SetCurSel(0);
        QApplication::processEvents();
        whole = dialog.handler.draws;
        dialog.handler.draws.clear();
        list->SetCurSel(2);
        QApplication::processEvents();
        afterChange = dialog.handler.draws;
    });
    dialog.DoModal();
    ASSERT_EQ(whole.size(), 4u);
    EXPECT_EQ(whole[0], (DrawRequest{0, win::ODA_DRAWENTIRE, true}));
    EXPECT_EQ(whole[1], (DrawRequest{1, win::ODA_DRAWENTIRE, false}));
    EXPECT_EQ(afterChange,
              (std::vector<DrawRequest>{{0, win::ODA_SELECT, false}, {2, win::ODA_SELECT, true}}));
}

}  // namespace
}  // namespace qt_test
