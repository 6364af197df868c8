#include "QtButtonWindows.h"

#include <QPushButton>

#include "QtCheckBox.h"
#include "QtIcons.h"
#include "QtText.h"
#include "platform/window/Styles.h"

namespace qtwin {

QtButtonWindow::QtButtonWindow(QtDialogWindow& dialog, const win::ControlTemplate& control)
    : QtControlWindow(dialog, control) {}

void QtButtonWindow::SetButton(QAbstractButton* button) {
    button_ = button;
    SetWidget(button);
}

void QtButtonWindow::SetWindowText(std::string_view gbkText) {
    KeepText(gbkText);
    ShowText();
}

void QtButtonWindow::ShowText() {
    if (button_ && !(GetStyle() & win::BS_ICON))
        button_->setText(ToQString(Text()));
}

QtPushButtonWindow::QtPushButtonWindow(QtDialogWindow& dialog, const win::ControlTemplate& control,
                                       QWidget* parent)
    : QtButtonWindow(dialog, control) {
    auto* button = new QPushButton(parent);
    SetButton(button);
    // An icon button shows nothing until its icon is set; a text button its text.
    ShowText();
    // Every push button takes Enter while it has the focus; BS_DEFPUSHBUTTON takes it otherwise.
    button->setAutoDefault(true);
    button->setDefault((control.style & 0xF) == win::BS_DEFPUSHBUTTON);
    QObject::connect(button, &QPushButton::clicked, button, [this] { Notify(win::BN_CLICKED); });
}

void QtPushButtonWindow::SetButtonIcon(win::HICON icon) {
    QAbstractButton* button = Button();
    if (button == nullptr)
        return;
    const QPixmap* pixmap = PixmapOf(icon);
    if (pixmap == nullptr) {
        button->setIcon(QIcon());
        ShowText();
        return;
    }
    // An icon button shows the picture instead of its text.
    button->setText(QString());
    button->setIcon(QIcon(*pixmap));
    button->setIconSize(pixmap->size());
}

QtCheckBoxWindow::QtCheckBoxWindow(QtDialogWindow& dialog, const win::ControlTemplate& control,
                                   QWidget* parent)
    : QtButtonWindow(dialog, control) {
    auto* box = new QtCheckBox(*this, parent);
    box->setText(ToQString(control.text));
    SetButton(box);
}

int QtCheckBoxWindow::GetCheck() const {
    return Button() != nullptr && Button()->isChecked() ? win::BST_CHECKED : win::BST_UNCHECKED;
}

void QtCheckBoxWindow::SetCheck(int state) {
    if (Button() != nullptr)
        Button()->setChecked(state == win::BST_CHECKED);
}

}  // namespace qtwin
