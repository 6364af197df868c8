#pragma once
// The window host on Qt 6 Widgets: dialogs from templates run modally with QDialog::exec, message boxes
// are QMessageBoxes owned by the dialog, icons and the cursor are the program's own SVG pictures.
// Create it on the GUI thread after the QApplication; MessageBox and Window::SendMessage may be called
// from any thread and then run on the GUI thread while the caller waits.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <map>
#include <memory>
#include <set>

#include "QtIcons.h"
#include "platform/window/WindowHost.h"

namespace qtwin {

class QtDialogWindow;

class QtWindowHost : public QObject, public win::WindowHost {
  public:
    QtWindowHost();
    ~QtWindowHost() override;

    int RunModal(win::CDialog& dialog, const win::DialogTemplate& dialogTemplate, win::HWND owner) override;
    int MessageBox(win::HWND owner, std::string_view gbkText, std::string_view gbkCaption,
                   win::UINT type) override;
    win::LRESULT SendMessage(win::HWND window, win::UINT message, win::WPARAM wParam,
                             win::LPARAM lParam) override;
    win::HICON LoadIcon(int resourceId, int size) override;
    void DestroyIcon(win::HICON icon) override;
    win::HCURSOR LoadCursor(int resourceId) override;
    void SetCursor(win::HCURSOR cursor) override;
    int GetSystemMetrics(int index) const override;
    win::COLORREF GetSysColor(int index) const override;
    void OutputDebugString(std::string_view text) override;

    // While a control handles its set-cursor request, SetCursor applies to that control.
    void BeginSetCursor(QWidget* widget) { cursorTarget_ = widget; }
    void EndSetCursor() { cursorTarget_ = nullptr; }
    int LiveIconCount() const { return static_cast<int>(icons_.size()); }

    // OSTRELLE_SCREENSHOT=file: the first dialog is saved as a PNG once it is on screen, then ended as
    // Esc ends it.
    void SetScreenshotPath(const QString& path) { screenshotPath_ = path; }

  private:
    int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, win::UINT type);
    void ScheduleScreenshot(QtDialogWindow& dialogWindow);

    // The dialogs now running, touched only on the GUI thread.
    std::set<win::HWND> liveDialogs_;
    std::map<win::HICON, std::unique_ptr<win::IconObject>> icons_;
    std::map<int, std::unique_ptr<win::CursorObject>> cursors_;
    QPointer<QWidget> cursorTarget_;
    QString screenshotPath_;
};

}  // namespace qtwin
