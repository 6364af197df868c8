#include "QtEditWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "QtText.h"
#include "platform/window/Styles.h"

namespace qtwin {

namespace {

// EM_LIMITTEXT limits what the user types, not the text the program sets: a longer text set by the
// program stays whole and can still be shortened. (QLineEdit's maxLength would cut it.)
class TextLimit : public QObject {
  public:
    TextLimit(QLineEdit& edit, int limit) : QObject(&edit), edit_(edit), limit_(limit) {
        setObjectName(QStringLiteral("ostrelle-text-limit"));
        edit.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        QString added;
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Paste)) {
                added = QGuiApplication::clipboard()->text();
            } else if (!key->text().isEmpty() && key->text().at(0).isPrint()) {
                added = key->text();
            }
        } else if (event->type() == QEvent::InputMethod) {
            added = static_cast<QInputMethodEvent*>(event)->commitString();
        }
        if (added.isEmpty())
            return false;
        const qsizetype kept = edit_.text().size() - edit_.selectedText().size();
        // Text that does not fit is refused whole, with a beep as the edit gives.
        if (kept + added.size() <= limit_)
            return false;
        QApplication::beep();
        return true;
    }

  private:
    QLineEdit& edit_;
    int limit_;
};

}  // namespace

QtEditWindow::QtEditWindow(QtDialogWindow& dialog, const win::ControlTemplate& control, QWidget* parent)
    : QtControlWindow(dialog, control), edit_(new QLineEdit(ToQString(control.text), parent)) {
    edit_->setFrame((control.style & win::WS_BORDER) != 0);
    SetWidget(edit_);
}

std::string QtEditWindow::GetWindowText() const {
    return edit_ ? ToGbk(edit_->text()) : Text();
}

void QtEditWindow::SetWindowText(std::string_view gbkText) {
    KeepText(gbkText);
    if (edit_)
        edit_->setText(ToQString(Text()));
}

void QtEditWindow::LimitText(int maxChars) {
    if (!edit_)
        return;
    // Found by name: the class has no meta-object of its own to be found by type.
    delete edit_->findChild<QObject*>(QStringLiteral("ostrelle-text-limit"), Qt::FindDirectChildrenOnly);
    if (maxChars > 0)
        new TextLimit(*edit_, maxChars);
}

}  // namespace qtwin
