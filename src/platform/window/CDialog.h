#pragma once
// A modal dialog made from a template. The window host calls the On... handlers on the dialog's
// thread; commands go through the derived class's command map (OnCmdMsg).

#include <string>
#include <string_view>

#include "platform/window/CWnd.h"
#include "platform/window/DialogTemplate.h"

namespace win {

class CDialog : public CWnd {
  public:
    CDialog(WindowHost& host, const DialogTemplate& dialogTemplate);

    int DoModal(HWND owner = nullptr);
    void EndDialog(int result);

    HWND GetDlgItem(int controlId) const;
    std::string GetDlgItemText(int controlId) const;
    void SetDlgItemText(int controlId, std::string_view gbkText);
    bool IsDlgButtonChecked(int controlId) const;
    void CheckDlgButton(int controlId, int state);
    // A message box owned by this dialog. Any thread.
    int MessageBox(std::string_view gbkText, std::string_view gbkCaption, UINT type);
    // Attaches a control object to the dialog's control (SubclassDlgItem, DDX_Control).
    void SubclassDlgItem(CWnd& control, int controlId);

    WindowHost& GetHost() const { return host_; }
    const DialogTemplate& GetTemplate() const { return template_; }

    // Called by the window host. The window is attached before OnInitDialog.
    void AttachDialogWindow(HWND window);
    virtual bool OnInitDialog();
    virtual void OnCommand(int controlId, UINT notifyCode);
    virtual void OnSysCommand(UINT commandId);
    virtual void OnPaint(DeviceContext& dc);
    virtual HICON OnQueryDragIcon();
    virtual void OnClose();  // the window's close request: base ends the dialog with IDCANCEL
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnDestroy();
    // WM_CLOSE and WM_COMMAND delivered through Window::SendMessage.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  protected:
    // Routes a command to a handler of the derived class's map; false when none matches.
    virtual bool OnCmdMsg(int controlId, UINT notifyCode);

  private:
    WindowHost& host_;
    const DialogTemplate& template_;
};

// One row of a dialog's command map: a notification code of a control routed to a handler.
template <class T>
struct CommandMapEntry {
    UINT notifyCode;
    int controlId;
    void (T::*handler)();
};

template <class T, std::size_t N>
bool DispatchCommand(T& dialog, const CommandMapEntry<T> (&map)[N], int controlId, UINT notifyCode) {
    for (const auto& entry : map) {
        if (entry.controlId == controlId && entry.notifyCode == notifyCode) {
            (dialog.*entry.handler)();
            return true;
        }
    }
    return false;
}

}  // namespace win
