#pragma once
// A dialog holding one of each custom control, run modally on the fake window host so the controls
// see their messages as they do in the program: attached at initialisation, every entry reported
// when the window goes away.

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "controls/HyperLinker.h"
#include "controls/IconComboBox.h"
#include "controls/ListBoxCH.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeWindowHost.h"
#include "platform/window/Styles.h"

namespace controls_test {

constexpr int kList = 1010;
constexpr int kSmallBox = 1012;
constexpr int kLargeBox = 1013;
constexpr int kLink = 1022;

inline const win::DialogTemplate& ControlsTemplate() {
    using namespace win;
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    static const DialogTemplate dialogTemplate{
        900,
        "controls",
        200,
        200,
        WS_POPUP | WS_CAPTION | WS_SYSMENU,
        0,
        "",
        9,
        {
            {ControlKind::ListBox, kList, "", 0, 0, 60, 150,
             kChild | LBS_OWNERDRAWVARIABLE | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT, 0,
             0},
            {ControlKind::ComboBox, kSmallBox, "", 70, 0, 40, 80, 0x50210223, 0, 0},
            {ControlKind::ComboBox, kLargeBox, "", 120, 0, 40, 80, 0x50210223, 0, 0},
            {ControlKind::Static, kLink, "link", 70, 100, 40, 8, kChild, 0, 0},
        },
    };
    return dialogTemplate;
}

// What the dialog's selection-change handler saw.
struct SelectionChange {
    int currentIndex;
    int listSelection;
    friend bool operator==(const SelectionChange&, const SelectionChange&) = default;
    friend std::ostream& operator<<(std::ostream& out, const SelectionChange& change) {
        return out << "{current " << change.currentIndex << ", selected " << change.listSelection << "}";
    }
};

class ControlsDialog : public win::CDialog {
  public:
    ControlsDialog(win::WindowHost& host, win::Shell& shell)
        : CDialog(host, ControlsTemplate()), link(shell, *this) {}

    bool OnInitDialog() override {
        SubclassDlgItem(list, kList);
        SubclassDlgItem(smallBox, kSmallBox);
        SubclassDlgItem(largeBox, kLargeBox);
        SubclassDlgItem(link, kLink);
        return true;
    }

    controls::CListBoxCH list;
    controls::CSmallIconComboBox smallBox;
    controls::CLargeIconComboBox largeBox;
    controls::CHyperLinker link;
    std::vector<SelectionChange> selectionChanges;

  protected:
    bool OnCmdMsg(int controlId, win::UINT notifyCode) override {
        if (controlId != kList || notifyCode != win::LBN_SELCHANGE)
            return false;
        selectionChanges.push_back({list.GetCurrentIndex(), GetDlgItem(kList)->GetCurSel()});
        return true;
    }
};

class ControlsTest : public ::testing::Test {
  protected:
    // Runs the dialog with the user's actions in script; the window is gone when this returns.
    void Run(const fakes::FakeWindowHost::Script& script) {
        host.AddScript([&, script](fakes::FakeWindow& window) {
            script(window);
            window.EndDialog(win::IDOK);
        });
        dialog.DoModal();
    }

    fakes::FakeWindowHost host;
    fakes::FakeShell shell;
    ControlsDialog dialog{host, shell};
};

}  // namespace controls_test
