#pragma once
// The dialog's window: its controls in template order, the modal result, the system menu items the
// program appended, and messages sent to it from any thread. Its messages always reach its CDialog,
// which is the dialog's handler object whether attached yet or not.

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "QtControlWindow.h"
#include "QtWindow.h"
#include "platform/window/CDialog.h"
#include "platform/window/DialogTemplate.h"

namespace qtwin {

class QtDialogWindow : public QtWindow {
  public:
    QtDialogWindow(QtWindowHost& host, win::CDialog& dialog, const win::DialogTemplate& dialogTemplate);
    ~QtDialogWindow() override;

    void SetWindowText(std::string_view gbkText) override;
    bool IsWindowVisible() const override;
    win::Window* GetDlgItem(int controlId) const override;
    bool IsIconic() const override;
    void SetIcon(win::HICON icon, bool bigIcon) override;
    bool HasSystemMenu() const override;
    void AppendSystemMenuSeparator() override;
    void AppendSystemMenuItem(win::UINT commandId, std::string_view gbkText) override;
    void EndDialog(int result) override;
    win::LRESULT SendMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;

    // The backend's side.
    win::CDialog& Dialog() const { return dialog_; }
    void AddChild(std::unique_ptr<QtControlWindow> control);
    const std::vector<std::unique_ptr<QtControlWindow>>& Children() const { return children_; }
    bool Ended() const { return endResult_.has_value(); }
    int EndResult() const { return endResult_.value_or(-1); }
    struct MenuItem {
        win::UINT commandId;  // 0 for a separator
        QString text;
    };
    const std::vector<MenuItem>& SystemMenu() const { return systemMenu_; }
    void FocusFirstTabStop();
    // Window destruction: owner-drawn entries are reported deleted, handler objects forget the windows.
    void DestroyWindows();

  protected:
    bool HasHandler() const override { return true; }

  private:
    win::CDialog& dialog_;
    std::vector<std::unique_ptr<QtControlWindow>> children_;
    std::vector<MenuItem> systemMenu_;
    std::optional<int> endResult_;
};

}  // namespace qtwin
