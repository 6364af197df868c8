#include "UserDriver.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include "../qt/WindowInput.h"
#include "res/Resource.h"

namespace e2e {

namespace {

// Replaces the text of whatever edit or field has the focus in the window of widget: all of it is
// selected with the keys, then deleted.
void ClearFocusedText(QWidget* widget) {
    window_input::Key(widget, Qt::Key_End);
    window_input::Key(widget, Qt::Key_Home, Qt::ShiftModifier);
    window_input::Key(widget, Qt::Key_Delete);
}

}  // namespace

QWidget* UserDriver::Dialog() const {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        const QString profileList = QStringLiteral("control-%1").arg(res::IDC_PROFILE_LIST);
        if (top->isVisible() && top->findChild<QWidget*>(profileList) != nullptr)
            return top;
    }
    return nullptr;
}

QWidget* UserDriver::Control(int id) const {
    QWidget* dialog = Dialog();
    return dialog == nullptr ? nullptr : dialog->findChild<QWidget*>(QStringLiteral("control-%1").arg(id));
}

void UserDriver::TypeText(int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(Control(id));
    if (edit == nullptr)
        return;
    window_input::Click(edit);
    ClearFocusedText(edit);
    // Chinese text arrives from an input method, committed a character at a time. Qt's test functions
    // have no window-system path for an input method's commit, so it goes to the widget the click
    // gave the window's focus.
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            window_input::Type(edit, QString(c));
            continue;
        }
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QApplication::sendEvent(edit->window()->focusWidget(), &commit);
    }
}

// An address control is four fields; the user clicks each field and types its number.
void UserDriver::TypeAddress(int id, const QString& dotted) {
    QWidget* control = Control(id);
    if (control == nullptr)
        return;
    const QList<QLineEdit*> fields = control->findChildren<QLineEdit*>();
    const QStringList numbers = dotted.split('.');
    for (int i = 0; i < fields.size() && i < numbers.size(); ++i) {
        window_input::Click(fields[i]);
        ClearFocusedText(fields[i]);
        window_input::Type(fields[i], numbers[i]);
    }
}

void UserDriver::Click(int id) {
    if (QWidget* control = Control(id))
        window_input::Click(control);
}

void UserDriver::ClickListRow(int id, int row, int rowHeight) {
    auto* list = qobject_cast<QAbstractScrollArea*>(Control(id));
    if (list == nullptr)
        return;
    const QPoint point(10, row * rowHeight + rowHeight / 2);
    window_input::Press(list->viewport(), point);
    window_input::Release(list->viewport(), point);
}

// The window manager's close box: a close request to the window.
void UserDriver::CloseWindow() {
    if (QWidget* dialog = Dialog())
        dialog->windowHandle()->close();
}

void UserDriver::Shot(const QString& name) {
    QWidget* window =
        QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget() : Dialog();
    if (shots_.isEmpty() || window == nullptr)
        return;
    window->grab().save(
        QStringLiteral("%1/%2-%3.png").arg(shots_).arg(++shotNumber_, 2, 10, QChar('0')).arg(name));
}

void UserDriver::AnswerMessageBoxes() {
    auto* timer = new QTimer(QApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible())
            return;
        answered_ << box->text();
        Shot(QStringLiteral("message"));
        QPushButton* button = box->defaultButton();
        if (button != nullptr) {
            window_input::Click(button);
        } else {
            box->accept();
        }
    });
    timer->start(50);
}

}  // namespace e2e
