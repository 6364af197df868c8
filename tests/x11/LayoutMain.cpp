// Prints where each control of the main dialog lies in the dialog's client area, as the program lays
// it out on this display with its fonts: one line "id x y width height" per control, in pixels. The
// real-input test clicks the centres of these rectangles.
#include <QApplication>
#include <cstdio>

#include "platform/qt/QtDialogBuilder.h"
#include "platform/qt/QtDialogWidget.h"
#include "platform/qt/QtDialogWindow.h"
#include "platform/qt/QtWindowHost.h"
#include "res/Templates.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    qtwin::QtWindowHost host;
    win::CDialog dialog(host, res::MainDialogTemplate());
    qtwin::QtDialogWindow window(host, dialog, res::MainDialogTemplate());
    qtwin::QtDialogWidget* widget = qtwin::BuildDialog(window, res::MainDialogTemplate(), nullptr);
    for (const auto& control : window.Children()) {
        const QWidget* item = control->Widget();
        if (item == nullptr || control->GetDlgCtrlID() < 0)
            continue;
        const QRect rect = item->geometry();
        std::printf("%d %d %d %d %d\n", control->GetDlgCtrlID(), rect.x(), rect.y(), rect.width(),
                    rect.height());
    }
    delete widget;
    return 0;
}
