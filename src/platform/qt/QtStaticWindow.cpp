#include "QtStaticWindow.h"

#include "QtIcons.h"
#include "QtStatic.h"

namespace qtwin {

QtStaticWindow::QtStaticWindow(QtDialogWindow& dialog, const win::ControlTemplate& control, QWidget* parent)
    : QtControlWindow(dialog, control), label_(new QtStatic(*this, control.kind, parent)) {
    if (control.kind == win::ControlKind::StaticIcon)
        label_->SetIcon(RenderIcon(control.iconId, kIconSize));
    SetWidget(label_);
}

void QtStaticWindow::SetStyle(win::DWORD style) {
    QtControlWindow::SetStyle(style);
    if (label_)
        label_->UpdatePointerTransparency();
}

}  // namespace qtwin
