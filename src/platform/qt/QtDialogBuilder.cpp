#include "QtDialogBuilder.h"

#include <QLineEdit>
#include <QPushButton>

#include "QtCheckBox.h"
#include "QtComboBox.h"
#include "QtDialogWidget.h"
#include "QtIcons.h"
#include "QtIpAddressEdit.h"
#include "QtOwnerDrawList.h"
#include "QtStatic.h"
#include "QtText.h"
#include "QtWindow.h"
#include "platform/window/Styles.h"

namespace qtwin {

using win::ControlKind;

namespace {

QWidget* CreatePushButton(QtWindow& window, const win::ControlTemplate& control, QWidget* parent) {
    auto* button = new QPushButton(parent);
    // An icon button shows nothing until its icon is set; a text button its text.
    if (!(control.style & win::BS_ICON))
        button->setText(ToQString(control.text));
    // Every push button takes Enter while it has the focus; BS_DEFPUSHBUTTON takes it otherwise.
    button->setAutoDefault(true);
    button->setDefault((control.style & 0xF) == win::BS_DEFPUSHBUTTON);
    QObject::connect(button, &QPushButton::clicked, button, [&window] { window.Notify(win::BN_CLICKED); });
    return button;
}

QWidget* CreateEdit(const win::ControlTemplate& control, QWidget* parent) {
    auto* edit = new QLineEdit(ToQString(control.text), parent);
    edit->setFrame((control.style & win::WS_BORDER) != 0);
    return edit;
}

QWidget* CreateListBox(QtWindow& window, QWidget* parent) {
    auto* list = new QtOwnerDrawList(window, parent);
    window.SetItemStore(list);
    return list;
}

QWidget* CreateComboBox(QtWindow& window, const QRect& rect, QWidget* parent) {
    auto* combo = new QtComboBox(window, parent, rect.height());
    window.SetItemStore(combo);
    return combo;
}

QWidget* CreateIpAddress(QtWindow& window, QWidget* parent) {
    auto* edit = new QtIpAddressEdit(parent);
    window.SetIpAddressEdit(edit);
    return edit;
}

QWidget* CreateStatic(QtWindow& window, const win::ControlTemplate& control, QWidget* parent) {
    auto* label = new QtStatic(window, parent);
    if (control.kind == ControlKind::StaticIcon)
        label->SetIcon(RenderIcon(control.iconId, kIconSize));
    return label;
}

QWidget* CreateControl(QtWindow& window, const win::ControlTemplate& control, const QRect& rect,
                       QWidget* parent) {
    switch (control.kind) {
        case ControlKind::PushButton:
            return CreatePushButton(window, control, parent);
        case ControlKind::CheckBox: {
            auto* box = new QtCheckBox(window, parent);
            box->setText(ToQString(control.text));
            return box;
        }
        case ControlKind::Edit:
            return CreateEdit(control, parent);
        case ControlKind::ListBox:
            return CreateListBox(window, parent);
        case ControlKind::ComboBox:
            return CreateComboBox(window, rect, parent);
        case ControlKind::IpAddress:
            return CreateIpAddress(window, parent);
        case ControlKind::Static:
        case ControlKind::StaticIcon:
        case ControlKind::GroupBox:
            return CreateStatic(window, control, parent);
    }
    return new QWidget(parent);
}

}  // namespace

DialogUnits UnitsFor(const win::DialogTemplate& dialogTemplate) {
    return DialogUnits(ComputeBaseUnits(DialogFont(dialogTemplate)));
}

QtDialogWidget* BuildDialog(QtWindow& dialogWindow, const win::DialogTemplate& t, QWidget* owner) {
    auto* dialog = new QtDialogWidget(dialogWindow, owner);
    dialogWindow.SetWidget(dialog);
    const QFont font = DialogFont(t);
    dialog->setFont(font);
    const DialogUnits units(ComputeBaseUnits(font));
    dialog->setFixedSize(units.X(t.cx), units.Y(t.cy));
    dialog->setWindowTitle(ToQString(t.caption));
    for (const auto& control : t.controls) {
        QtWindow& window = dialogWindow.AddChild(control);
        const QRect rect = units.Map(control.x, control.y, control.cx, control.cy);
        QWidget* widget = CreateControl(window, control, rect, dialog);
        // The Z order is the template order, the first control on top, where the pointer finds it first
        // (Qt would stack each new sibling over the earlier ones). The tab order stays the creation order.
        widget->lower();
        window.SetWidget(widget);
        widget->setObjectName(QStringLiteral("control-%1").arg(control.id));
        // A combo box keeps the height of its selection field; the template's height is its list's.
        widget->setGeometry(rect);
        // Only WS_TABSTOP controls are reached with Tab; the others still take a click's focus.
        if (!(control.style & win::WS_TABSTOP) && widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocusPolicy(Qt::ClickFocus);
        }
        widget->setEnabled(!(control.style & win::WS_DISABLED));
        widget->setVisible((control.style & win::WS_VISIBLE) != 0);
    }
    return dialog;
}

}  // namespace qtwin
