#include "QtWindowHost.h"

#include <QApplication>
#include <QDebug>
#include <QPalette>
#include <QThread>
#include <QTimer>

#include "QtDialogBuilder.h"
#include "QtDialogWidget.h"
#include "QtDialogWindow.h"
#include "QtText.h"

namespace qtwin {

QtWindowHost::QtWindowHost() {
    if (qEnvironmentVariableIsSet("OSTRELLE_SCREENSHOT")) {
        screenshotPath_ = qEnvironmentVariable("OSTRELLE_SCREENSHOT");
    }
}

QtWindowHost::~QtWindowHost() = default;

int QtWindowHost::RunModal(win::CDialog& dialog, const win::DialogTemplate& dialogTemplate, win::HWND owner) {
    QWidget* ownerWidget = nullptr;
    if (QtWindow* ownerWindow = AsQtWindow(owner);
        ownerWindow != nullptr && ownerWindow->Widget() != nullptr) {
        ownerWidget = ownerWindow->Widget()->window();
    }
    auto window = std::make_unique<QtDialogWindow>(*this, dialog, dialogTemplate);
    QPointer<QtDialogWidget> widget = BuildDialog(*window, dialogTemplate, ownerWidget);

    dialog.AttachDialogWindow(window.get());
    liveDialogs_.insert(window.get());
    bool setFocus = false;
    window->Dispatch([&] { setFocus = dialog.OnInitDialog(); }, [] {});
    // OnInitDialog returning true leaves the focus to the platform: the first tab stop.
    if (setFocus)
        window->FocusFirstTabStop();
    if (!window->Ended()) {
        if (!screenshotPath_.isEmpty())
            ScheduleScreenshot(*window);
        widget->exec();
    }
    const int result = window->EndResult();

    liveDialogs_.erase(window.get());
    window->Dispatch([&] { dialog.OnDestroy(); }, [] {});
    window->DestroyWindows();
    delete widget.data();
    return result;
}

void QtWindowHost::ScheduleScreenshot(QtDialogWindow& dialogWindow) {
    const QString path = screenshotPath_;
    screenshotPath_.clear();
    QWidget* widget = dialogWindow.Widget();
    QTimer::singleShot(1000, widget, [widget, path, &dialogWindow] {
        const bool saved = widget->grab().save(path, "PNG");
        qInfo().noquote() << (saved ? "screenshot saved to" : "could not save the screenshot to") << path;
        win::CDialog& dialog = dialogWindow.Dialog();
        dialogWindow.Dispatch([&] { dialog.OnCommand(win::IDCANCEL, win::BN_CLICKED); }, [] {});
    });
}

int QtWindowHost::MessageBox(win::HWND owner, std::string_view gbkText, std::string_view gbkCaption,
                             win::UINT type) {
    const QString text = ToQString(gbkText);
    const QString caption = ToQString(gbkCaption);
    auto show = [this, owner, text, caption, type] {
        QWidget* ownerWidget = nullptr;
        if (QtWindow* window = AsQtWindow(owner); window != nullptr && window->Widget() != nullptr) {
            ownerWidget = window->Widget()->window();
        }
        return ShowMessageBox(ownerWidget, text, caption, type);
    };
    if (QThread::currentThread() == thread())
        return show();
    // Another thread: the box is shown on the GUI thread, the caller waits for the answer.
    int answer = win::IDCANCEL;
    QMetaObject::invokeMethod(
        this, [&answer, show] { answer = show(); }, Qt::BlockingQueuedConnection);
    return answer;
}

win::HICON QtWindowHost::LoadIcon(int resourceId, int size) {
    QPixmap pixmap = RenderIcon(resourceId, size > 0 ? size : kIconSize);
    if (pixmap.isNull())
        return nullptr;
    auto icon = std::make_unique<win::IconObject>(win::IconObject{resourceId, std::move(pixmap)});
    win::HICON handle = icon.get();
    icons_[handle] = std::move(icon);
    return handle;
}

void QtWindowHost::DestroyIcon(win::HICON icon) {
    icons_.erase(icon);
}

win::HCURSOR QtWindowHost::LoadCursor(int resourceId) {
    // A cursor resource is shared: loading it again gives the same handle, and it lives with the host.
    auto it = cursors_.find(resourceId);
    if (it != cursors_.end())
        return it->second.get();
    QCursor cursor;
    if (!RenderCursor(resourceId, cursor))
        return nullptr;
    auto object = std::make_unique<win::CursorObject>(win::CursorObject{resourceId, cursor});
    win::HCURSOR handle = object.get();
    cursors_[resourceId] = std::move(object);
    return handle;
}

void QtWindowHost::SetCursor(win::HCURSOR cursor) {
    QWidget* target = cursorTarget_.data();
    if (target == nullptr)
        target = QApplication::widgetAt(QCursor::pos());
    if (target == nullptr)
        return;
    if (cursor == nullptr) {
        target->setCursor(Qt::BlankCursor);
    } else {
        target->setCursor(cursor->cursor);
    }
}

int QtWindowHost::GetSystemMetrics(int index) const {
    return index == win::SM_CXICON || index == win::SM_CYICON ? kIconSize : 0;
}

win::COLORREF QtWindowHost::GetSysColor(int index) const {
    const QPalette palette = QApplication::palette();
    switch (index) {
        case win::COLOR_BTNFACE:
            return ToColorRef(palette.color(QPalette::Window));
        case win::COLOR_HIGHLIGHT:
            return ToColorRef(palette.color(QPalette::Highlight));
        default:
            return 0;
    }
}

void QtWindowHost::OutputDebugString(std::string_view text) {
    qDebug().noquote() << ToQString(text).trimmed();
}

win::LRESULT QtWindowHost::SendMessage(win::HWND window, win::UINT message, win::WPARAM wParam,
                                       win::LPARAM lParam) {
    // The handle is looked up on the GUI thread, where dialogs are made and destroyed, so it cannot go
    // away between the check and the call.
    auto run = [this, window, message, wParam, lParam]() -> win::LRESULT {
        return liveDialogs_.count(window) == 0 ? 0 : window->SendMessage(message, wParam, lParam);
    };
    if (QThread::currentThread() == thread())
        return run();
    win::LRESULT result = 0;
    QMetaObject::invokeMethod(
        this, [&result, run] { result = run(); }, Qt::BlockingQueuedConnection);
    return result;
}

}  // namespace qtwin
