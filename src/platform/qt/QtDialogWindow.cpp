#include "QtDialogWindow.h"

#include <QCoreApplication>
#include <QDialog>
#include <QThread>

#include "QtIcons.h"
#include "QtText.h"
#include "platform/window/Styles.h"

namespace qtwin {

QtDialogWindow::QtDialogWindow(QtWindowHost& host, win::CDialog& dialog,
                               const win::DialogTemplate& dialogTemplate)
    : QtWindow(host, 0, dialogTemplate.style, dialogTemplate.caption), dialog_(dialog) {}

QtDialogWindow::~QtDialogWindow() = default;

void QtDialogWindow::SetWindowText(std::string_view gbkText) {
    KeepText(gbkText);
    if (Widget() != nullptr)
        Widget()->setWindowTitle(ToQString(Text()));
}

bool QtDialogWindow::IsWindowVisible() const {
    return Widget() != nullptr && Widget()->isVisible();
}

win::Window* QtDialogWindow::GetDlgItem(int controlId) const {
    for (const auto& child : children_) {
        if (child->GetDlgCtrlID() == controlId)
            return child.get();
    }
    return nullptr;
}

bool QtDialogWindow::IsIconic() const {
    return Widget() != nullptr && Widget()->isMinimized();
}

void QtDialogWindow::SetIcon(win::HICON icon, bool bigIcon) {
    const QPixmap* pixmap = PixmapOf(icon);
    if (Widget() == nullptr || pixmap == nullptr)
        return;
    QIcon windowIcon = Widget()->windowIcon();
    windowIcon.addPixmap(bigIcon ? *pixmap
                                 : pixmap->scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Widget()->setWindowIcon(windowIcon);
}

bool QtDialogWindow::HasSystemMenu() const {
    return (GetStyle() & win::WS_SYSMENU) != 0;
}

void QtDialogWindow::AppendSystemMenuSeparator() {
    systemMenu_.push_back({0, QString()});
}

void QtDialogWindow::AppendSystemMenuItem(win::UINT commandId, std::string_view gbkText) {
    systemMenu_.push_back({commandId, ToQString(gbkText)});
}

void QtDialogWindow::EndDialog(int result) {
    if (endResult_)
        return;
    endResult_ = result;
    if (auto* dialog = qobject_cast<QDialog*>(Widget()))
        dialog->done(result);
}

win::LRESULT QtDialogWindow::SendMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    auto run = [this, message, wParam, lParam]() -> win::LRESULT {
        if (Ended())
            return 0;
        win::LRESULT result = 0;
        Dispatch([&] { result = dialog_.WindowProc(message, wParam, lParam); }, [] {});
        return result;
    };
    if (QThread::currentThread() == QCoreApplication::instance()->thread())
        return run();
    // From another thread the message runs on the dialog's thread while this one waits; a window
    // destroyed meanwhile answers 0.
    win::LRESULT result = 0;
    QPointer<QWidget> target = Widget();
    if (!target)
        return 0;
    QMetaObject::invokeMethod(
        target.data(), [&result, run] { result = run(); }, Qt::BlockingQueuedConnection);
    return result;
}

void QtDialogWindow::AddChild(std::unique_ptr<QtControlWindow> control) {
    children_.push_back(std::move(control));
}

void QtDialogWindow::FocusFirstTabStop() {
    for (const auto& child : children_) {
        QWidget* widget = child->Widget();
        const win::DWORD style = child->GetStyle();
        if ((style & win::WS_TABSTOP) && (style & win::WS_VISIBLE) && widget != nullptr &&
            widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void QtDialogWindow::DestroyWindows() {
    // Children go first, as DestroyWindow destroys them after the dialog's WM_DESTROY.
    for (const auto& child : children_)
        child->Destroy();
    dialog_.DetachWindow();
    SetHandlerObject(nullptr);
}

}  // namespace qtwin
