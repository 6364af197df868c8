#pragma once
// Dialogs on the real Qt window host, offscreen: the program's main dialog on fake services and a temporary
// folder, or a dialog (on the main template unless told otherwise) that only records what it is told. A
// script runs inside the modal loop once the dialog is up; a dialog still open after the script is ended as
// Esc ends it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "WindowInput.h"
#include "app/CorvaneApp.h"
#include "platform/qt/QtDialogWidget.h"
#include "platform/qt/QtWindow.h"
#include "platform/qt/QtWindowHost.h"
#include "platform/text/Gbk.h"
#include "res/Templates.h"
#include "support/ProgramFixture.h"

namespace qt_test {

inline std::string Gbk(const char* utf8) {
    return text::Utf8ToGbk(utf8);
}

// What the recording dialog was told, in order.
struct Heard {
    int controlId;  // -1 for the close request
    win::UINT code;
    int selection;  // the control's selection when it was heard (list and combo boxes)
    bool onGuiThread;
    friend bool operator==(const Heard&, const Heard&) = default;
};

class RecordingDialog : public win::CDialog {
  public:
    explicit RecordingDialog(win::WindowHost& host,
                             const win::DialogTemplate& dialogTemplate = res::MainDialogTemplate())
        : CDialog(host, dialogTemplate) {}

    void OnCommand(int controlId, win::UINT notifyCode) override {
        win::HWND item = GetDlgItem(controlId);
        Record({controlId, notifyCode, item != nullptr ? item->GetCurSel() : -1, OnGuiThread()});
        if (controlId == win::IDCANCEL)
            CDialog::OnCommand(controlId, notifyCode);
    }
    void OnClose() override {
        Record({-1, 0, -1, OnGuiThread()});
        CDialog::OnClose();
    }
    std::vector<Heard> heard() {
        std::lock_guard lock(mutex_);
        return heard_;
    }

  private:
    static bool OnGuiThread() { return std::this_thread::get_id() == guiThread(); }
    static std::thread::id guiThread() {
        static const std::thread::id id = std::this_thread::get_id();
        return id;
    }
    void Record(const Heard& heard) {
        std::lock_guard lock(mutex_);
        heard_.push_back(heard);
    }
    std::mutex mutex_;
    std::vector<Heard> heard_;
};

class QtDialogFixture : public ProgramFixture<qtwin::QtWindowHost> {
  public:
    // The open dialog, inside a script.
    static qtwin::QtDialogWidget& OpenDialog() {
        auto* widget = dynamic_cast<qtwin::QtDialogWidget*>(QApplication::activeModalWidget());
        if (widget == nullptr) {
            std::fprintf(stderr, "no dialog is open\n");
            std::abort();
        }
        return *widget;
    }
    static qtwin::QtWindow& Item(int controlId) {
        return *qtwin::AsQtWindow(OpenDialog().Window().GetDlgItem(controlId));
    }
    static QWidget* Widget(int controlId) { return Item(controlId).Widget(); }

    // The user on the open dialog, through its window: a click at the centre of a control (or at a
    // point of it), keys to whatever has the dialog's focus.
    static void ClickControl(int controlId) { window_input::Click(Widget(controlId)); }
    static void ClickControl(int controlId, QPoint point) { window_input::Click(Widget(controlId), point); }
    static void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        window_input::Key(&OpenDialog(), key, modifiers);
    }
    static void TypeKeys(const QString& text) { window_input::Type(&OpenDialog(), text); }

    // Runs the script inside the modal loop of whatever DoModal or InitInstance the test starts next.
    // With keepOpen the script's own work must end the dialog.
    static void WhenOpen(std::function<void()> script, bool keepOpen = false) {
        QTimer::singleShot(0, [script = std::move(script), keepOpen] {
            // Keys go to the active window: wait until the dialog is it.
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                dialog->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
            }
            script();
            if (keepOpen)
                return;
            if (auto* widget = dynamic_cast<qtwin::QtDialogWidget*>(QApplication::activeModalWidget())) {
                if (!widget->Window().Ended())
                    widget->reject();
            }
        });
    }

  protected:
    void RunProgram(std::function<void()> script) {
        WhenOpen(std::move(script));
        app::CCorvaneApp application(platform);
        EXPECT_FALSE(application.InitInstance());
    }
};

}  // namespace qt_test
