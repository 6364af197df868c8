#include "QtDialogBuilder.h"

#include "QtButtonWindows.h"
#include "QtDialogWidget.h"
#include "QtDialogWindow.h"
#include "QtEditWindow.h"
#include "QtIpAddressWindow.h"
#include "QtItemWindows.h"
#include "QtStaticWindow.h"
#include "QtText.h"
#include "platform/window/Styles.h"

namespace qtwin {

using win::ControlKind;

namespace {

// The window of the control's kind, with its widget made as a child of parent.
std::unique_ptr<QtControlWindow> CreateControl(QtDialogWindow& dialog, const win::ControlTemplate& control,
                                               const QRect& rect, QWidget* parent) {
    switch (control.kind) {
        case ControlKind::PushButton:
            return std::make_unique<QtPushButtonWindow>(dialog, control, parent);
        case ControlKind::CheckBox:
            return std::make_unique<QtCheckBoxWindow>(dialog, control, parent);
        case ControlKind::Edit:
            return std::make_unique<QtEditWindow>(dialog, control, parent);
        case ControlKind::ListBox:
            return std::make_unique<QtListBoxWindow>(dialog, control, parent);
        case ControlKind::ComboBox:
            return std::make_unique<QtComboBoxWindow>(dialog, control, rect.height(), parent);
        case ControlKind::IpAddress:
            return std::make_unique<QtIpAddressWindow>(dialog, control, parent);
        case ControlKind::Static:
        case ControlKind::StaticIcon:
        case ControlKind::GroupBox:
            break;
    }
    // Text, picture and group box: one window draws them all.
    return std::make_unique<QtStaticWindow>(dialog, control, parent);
}

}  // namespace

DialogUnits UnitsFor(const win::DialogTemplate& dialogTemplate) {
    return DialogUnits(ComputeBaseUnits(DialogFont(dialogTemplate)));
}

QtDialogWidget* BuildDialog(QtDialogWindow& dialogWindow, const win::DialogTemplate& t, QWidget* owner) {
    auto* dialog = new QtDialogWidget(dialogWindow, owner);
    dialogWindow.SetWidget(dialog);
    const QFont font = DialogFont(t);
    dialog->setFont(font);
    const DialogUnits units(ComputeBaseUnits(font));
    dialog->setFixedSize(units.X(t.cx), units.Y(t.cy));
    dialog->setWindowTitle(ToQString(t.caption));
    for (const auto& control : t.controls) {
        const QRect rect = units.Map(control.x, control.y, control.cx, control.cy);
        std::unique_ptr<QtControlWindow> window = CreateControl(dialogWindow, control, rect, dialog);
        QWidget* widget = window->Widget();
        dialogWindow.AddChild(std::move(window));
        // The Z order is the template order, the first control on top, where the pointer finds it first
        // (Qt would stack each new sibling over the earlier ones). The tab order stays the creation order.
        widget->lower();
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
