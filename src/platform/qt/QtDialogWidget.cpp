#include "QtDialogWidget.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include "QtDeviceContext.h"
#include "QtText.h"
#include "QtWindowHost.h"

namespace qtwin {

QtDialogWidget::QtDialogWidget(QtDialogWindow& window, QWidget* parent) : QDialog(parent), window_(window) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void QtDialogWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // WM_ERASEBKGND first: the dialog's face colour; then WM_PAINT.
    painter.fillRect(rect(), ToQColor(window_.Host().GetSysColor(win::COLOR_BTNFACE)));
    QtDeviceContext dc(painter, font());
    window_.Dispatch([&] { window_.Dialog().OnPaint(dc); }, [] {});
}

void QtDialogWidget::closeEvent(QCloseEvent* event) {
    // The window stays until the dialog ends itself; the close box is only a request (WM_CLOSE).
    event->ignore();
    if (!window_.Ended())
        window_.Dispatch([&] { window_.Dialog().OnClose(); }, [] {});
}

void QtDialogWidget::reject() {
    // Esc: the IDCANCEL command, which the dialog's command map or OnCancel answers.
    if (!window_.Ended()) {
        window_.Dispatch([&] { window_.Dialog().OnCommand(win::IDCANCEL, win::BN_CLICKED); }, [] {});
    }
}

void QtDialogWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (window_.SystemMenu().empty()) {
        event->ignore();
        return;
    }
    ShowSystemMenu(event->globalPos());
}

void QtDialogWidget::ShowSystemMenu(const QPoint& globalPos) {
    QMenu menu(this);
    win::UINT chosen = 0;
    for (const auto& item : window_.SystemMenu()) {
        if (item.commandId == 0) {
            if (!menu.isEmpty())
                menu.addSeparator();
            continue;
        }
        const win::UINT commandId = item.commandId;
        QAction* action = menu.addAction(item.text);
        connect(action, &QAction::triggered, &menu, [&chosen, commandId] { chosen = commandId; });
    }
    menu.exec(globalPos);
    if (chosen == 0 || window_.Ended())
        return;
    window_.Dispatch([&] { window_.Dialog().OnSysCommand(chosen); }, [] {});
}

}  // namespace qtwin
