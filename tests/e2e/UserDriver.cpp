#include "UserDriver.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace e2e {

QWidget* UserDriver::Dialog() const {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->findChild<QWidget*>(QStringLiteral("control-1010")) != nullptr)
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
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    // Chinese text arrives from an input method, committed a character at a time.
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(edit, QString(c));
            continue;
        }
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QApplication::sendEvent(edit, &commit);
    }
}

// An address control is four fields; the user types each number into its field.
void UserDriver::TypeAddress(int id, const QString& dotted) {
    QWidget* control = Control(id);
    if (control == nullptr)
        return;
    const QList<QLineEdit*> fields = control->findChildren<QLineEdit*>();
    const QStringList numbers = dotted.split('.');
    for (int i = 0; i < fields.size() && i < numbers.size(); ++i) {
        fields[i]->setFocus();
        fields[i]->selectAll();
        QTest::keyClick(fields[i], Qt::Key_Backspace);
        QTest::keyClicks(fields[i], numbers[i]);
    }
}

void UserDriver::Click(int id) {
    if (QWidget* control = Control(id))
        QTest::mouseClick(control, Qt::LeftButton);
}

void UserDriver::ClickListRow(int id, int row, int rowHeight) {
    auto* list = qobject_cast<QAbstractScrollArea*>(Control(id));
    if (list == nullptr)
        return;
    const QPoint point(10, row * rowHeight + rowHeight / 2);
    QTest::mousePress(list->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

void UserDriver::CloseWindow() {
    if (QWidget* dialog = Dialog())
        dialog->close();
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
            button->click();
        } else {
            box->accept();
        }
    });
    timer->start(50);
}

}  // namespace e2e
