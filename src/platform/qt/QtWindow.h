#pragma once
// One window of a dialog built by the Qt host, the dialog itself or one of its controls: the HWND the
// program holds. It owns no widget (Qt parents do); it carries what Windows keeps with a window: id,
// style, text, the attached handler object, and the native handling of the message in flight.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/window/CDialog.h"
#include "platform/window/DialogTemplate.h"
#include "platform/window/Window.h"

namespace qtwin {

class QtWindowHost;
class QtItemStore;
class QtIpAddressEdit;
class QtDeviceContext;

class QtWindow : public win::Window {
  public:
    // The dialog window of dialog.
    QtWindow(QtWindowHost& host, win::CDialog& dialog, const win::DialogTemplate& dialogTemplate);
    // A control of parent, the dialog window.
    QtWindow(QtWindowHost& host, QtWindow& parent, const win::ControlTemplate& control);
    ~QtWindow() override;

    // Every window.
    int GetDlgCtrlID() const override { return id_; }
    std::string GetWindowText() const override;
    void SetWindowText(std::string_view gbkText) override;
    void ShowWindow(int showCommand) override;
    bool IsWindowVisible() const override;
    win::DWORD GetStyle() const override { return style_; }
    void SetStyle(win::DWORD style) override;
    win::Rect GetClientRect() const override;
    void Invalidate(bool erase) override;
    void RedrawWindow(win::UINT flags) override;
    void SetCapture() override;
    void ReleaseCapture() override;
    bool HasCapture() const override;
    win::LogFont GetFont() const override;
    void DefWindowProc() override;
    void SetHandlerObject(win::CWnd* object) override { handler_ = object; }
    win::CWnd* GetHandlerObject() const override { return handler_; }

    // The dialog.
    win::Window* GetDlgItem(int controlId) const override;
    bool IsIconic() const override;
    void SetIcon(win::HICON icon, bool bigIcon) override;
    bool HasSystemMenu() const override;
    void AppendSystemMenuSeparator() override;
    void AppendSystemMenuItem(win::UINT commandId, std::string_view gbkText) override;
    void EndDialog(int result) override;
    win::LRESULT SendMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;

    // Buttons and check boxes.
    int GetCheck() const override;
    void SetCheck(int state) override;
    void SetButtonIcon(win::HICON icon) override;

    // Edit.
    void LimitText(int maxChars) override;

    // List boxes and combo boxes.
    int AddString(std::string_view gbkText) override;
    int InsertString(int index, std::string_view gbkText) override;
    int DeleteString(int index) override;
    void ResetContent() override;
    int GetCount() const override;
    int GetCurSel() const override;
    int SetCurSel(int index) override;
    std::string GetItemText(int index) const override;
    std::uintptr_t GetItemData(int index) const override;
    int SetItemData(int index, std::uintptr_t data) override;
    int SetItemHeight(int index, int height) override;
    win::DWORD ItemFromPoint(win::Point clientPoint) const override;
    int GetTopIndex() const override;

    // IPv4 address controls.
    void SetAddress(win::DWORD address) override;
    void ClearAddress() override;

    // The backend's side.
    void SetWidget(QWidget* widget) { widget_ = widget; }
    void SetItemStore(QtItemStore* store) { items_ = store; }
    void SetIpAddressEdit(QtIpAddressEdit* edit) { ipAddress_ = edit; }
    QWidget* Widget() const { return widget_.data(); }
    QtWindowHost& Host() const { return host_; }
    win::ControlKind Kind() const { return kind_; }
    bool IsDialog() const { return dialog_ != nullptr; }
    win::CDialog* Dialog() const { return dialog_; }
    QtWindow* Parent() const { return parent_; }
    const std::string& Text() const { return text_; }

    // Runs a message: the handler object's handler when one is attached, else the native handling;
    // a handler that calls Default() runs the native handling at that point, once.
    void Dispatch(const std::function<void()>& handlerCall, std::function<void()> nativeHandling);
    // A control's notification to its dialog (WM_COMMAND), after the control's own handling.
    void Notify(win::UINT code);
    // The reflected colour request; null when no handler answers it.
    win::HBRUSH CtlColor(QtDeviceContext& dc, win::UINT ctlType);

    // Dialog windows: children in template order, the modal result, the system menu commands.
    QtWindow& AddChild(const win::ControlTemplate& control);
    const std::vector<std::unique_ptr<QtWindow>>& Children() const { return children_; }
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

  private:
    QtWindowHost& host_;
    QtWindow* parent_ = nullptr;
    win::CDialog* dialog_ = nullptr;
    win::ControlKind kind_ = win::ControlKind::Static;
    int id_ = 0;
    win::DWORD style_ = 0;
    std::string text_;
    QPointer<QWidget> widget_;
    QtItemStore* items_ = nullptr;
    QtIpAddressEdit* ipAddress_ = nullptr;
    win::CWnd* handler_ = nullptr;
    std::vector<std::function<void()>> nativeHandling_;
    std::vector<std::unique_ptr<QtWindow>> children_;
    std::vector<MenuItem> systemMenu_;
    std::optional<int> endResult_;
};

inline QtWindow* AsQtWindow(win::HWND window) {
    return static_cast<QtWindow*>(window);
}

}  // namespace qtwin
