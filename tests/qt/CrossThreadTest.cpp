// A second thread reaching the dialog, as the update check does: a message box owned by the dialog and a
// close request, each run on the dialog's thread while the sender waits.
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <thread>

#include "QtDialogFixture.h"

namespace qt_test {
namespace {

using CrossThreadTest = QtDialogFixture;

// Calls check every few milliseconds on the GUI thread until it returns true.
void PollUntil(std::function<bool()> check) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, check = std::move(check)] {
        if (check())
            timer->deleteLater();
    });
    timer->start(5);
}

TEST_F(CrossThreadTest, MessageBoxFromAnotherThreadIsOwnedByTheDialogAndBlocksTheSender) {
    RecordingDialog dialog(host);
    std::atomic<int> answer{0};
    std::thread sender;
    bool senderWaited = false;
    bool ownedByDialog = false;
    bool dialogBlocked = false;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenOpen(
        [&] {
            win::HWND owner = dialog.GetSafeHwnd();
            sender = std::thread([&, owner] {
                answer = host.MessageBox(owner, Gbk("发现新版本"), Gbk("提示"),
                                         win::MB_OKCANCEL | win::MB_ICONINFORMATION);
            });
            PollUntil([&, owner] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box == nullptr)
                    return false;
                senderWaited = answer.load() == 0;
                ownedByDialog = box->parentWidget() == qtwin::AsQtWindow(owner)->Widget();
                // A click on the dialog while the box is open does not reach it.
                window_input::Click(qtwin::AsQtWindow(owner->GetDlgItem(1))->Widget());
                dialogBlocked = dialog.heard().empty();
                caption = box->windowTitle();
                icon = box->icon();
                window_input::Click(box->button(QMessageBox::Cancel));
                // The dialog ends once the sender has its answer.
                PollUntil([&] {
                    if (answer.load() == 0)
                        return false;
                    dialog.EndDialog(win::IDOK);
                    return true;
                });
                return true;
            });
        },
        true);
    dialog.DoModal();
    sender.join();
    EXPECT_TRUE(senderWaited) << "the sender had no answer while the box was open";
    EXPECT_TRUE(ownedByDialog);
    EXPECT_TRUE(dialogBlocked);
    EXPECT_EQ(caption, QString::fromUtf8("提示"));
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(answer.load(), win::IDCANCEL);
}

// A message's text is never read as markup, whatever a server put into it.
TEST_F(CrossThreadTest, MessageBoxShowsItsTextAsPlainText) {
    RecordingDialog dialog(host);
    std::thread sender;
    std::atomic<bool> answered{false};
    Qt::TextFormat format = Qt::AutoText;
    WhenOpen(
        [&] {
            win::HWND owner = dialog.GetSafeHwnd();
            sender = std::thread([&, owner] {
                host.MessageBox(owner, Gbk("已推出最新的<b>版本"), Gbk("提示"), win::MB_OK);
                answered = true;
            });
            PollUntil([&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box == nullptr)
                    return false;
                format = box->textFormat();
                window_input::Click(box->button(QMessageBox::Ok));
                PollUntil([&] {
                    if (!answered)
                        return false;
                    dialog.EndDialog(win::IDOK);
                    return true;
                });
                return true;
            });
        },
        true);
    dialog.DoModal();
    sender.join();
    EXPECT_EQ(format, Qt::PlainText);
}

TEST_F(CrossThreadTest, CloseRequestFromAnotherThreadRunsOnTheDialogsThreadWhileTheSenderWaits) {
    RecordingDialog dialog(host);
    std::thread sender;
    std::vector<Heard> heardWhenSendReturned;
    WhenOpen(
        [&] {
            win::HWND window = dialog.GetSafeHwnd();
            sender = std::thread([&, window] {
                window->SendMessage(win::WM_CLOSE, 0, 0);
                heardWhenSendReturned = dialog.heard();
            });
        },
        true);
    dialog.DoModal();
    sender.join();
    ASSERT_EQ(heardWhenSendReturned.size(), 1u) << "the close was handled before the send returned";
    EXPECT_EQ(heardWhenSendReturned[0].controlId, -1);
    EXPECT_TRUE(heardWhenSendReturned[0].onGuiThread);
}

}  // namespace
// A thread may still hold the handle of a dialog the user has closed: sending to it through the host
// answers 0 and runs nothing, instead of reaching into the destroyed window.
TEST_F(CrossThreadTest, SendingThroughTheHostToAClosedDialogAnswersZero) {
    RecordingDialog dialog(host);
    win::HWND window = nullptr;
    WhenOpen([&] { window = dialog.GetSafeHwnd(); });
    dialog.DoModal();
    ASSERT_NE(window, nullptr);
    const std::size_t heardWhileOpen = dialog.heard().size();
    std::atomic<bool> returned{false};
    win::LRESULT answer = -1;
    std::thread sender([&] {
        answer = host.SendMessage(window, win::WM_CLOSE, 0, 0);
        returned = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }, 5000));
    sender.join();
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(dialog.heard().size(), heardWhileOpen) << "nothing ran for the closed dialog";
}

}  // namespace qt_test
