#pragma once
// The dialog's top-level widget: paints the background through CDialog::OnPaint (children on top),
// turns the close box into OnClose and Esc into the IDCANCEL command, and offers the items the dialog
// appended to its system menu in its context menu, since on Linux the window manager owns the window
// menu. Enter is the default push button's, as QDialog and QPushButton's auto-default already do it.

#include <QDialog>

#include "QtDialogWindow.h"

namespace qtwin {

class QtDialogWidget : public QDialog {
  public:
    QtDialogWidget(QtDialogWindow& window, QWidget* parent);

    QtDialogWindow& Window() const { return window_; }
    void reject() override;
    void accept() override {}
    // Opens the system menu items at a point; the chosen one goes to OnSysCommand.
    void ShowSystemMenu(const QPoint& globalPos);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QtDialogWindow& window_;
};

}  // namespace qtwin
