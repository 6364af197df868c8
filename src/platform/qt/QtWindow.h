#pragma once
// One window of a dialog built by the Qt host, the dialog itself or one of its controls: the HWND the
// program holds. It owns no widget (Qt parents do); it carries what Windows keeps with every window: id,
// style, text, the attached handler object, and the native handling of the message in flight. What only
// one kind of window does lives in the class of that kind (QtDialogWindow, QtEditWindow, ...).

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/Window.h"

namespace qtwin {

class QtWindowHost;

class QtWindow : public win::Window {
  public:
    ~QtWindow() override;
    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;

    int GetDlgCtrlID() const override { return id_; }
    std::string GetWindowText() const override { return text_; }
    // Keeps the text and repaints the window, which draws it.
    void SetWindowText(std::string_view gbkText) override;
    // Keeps WS_VISIBLE in the style; a control also shows or hides its widget.
    void ShowWindow(int showCommand) override;
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

    // The backend's side.
    void SetWidget(QWidget* widget) { widget_ = widget; }
    QWidget* Widget() const { return widget_.data(); }
    QtWindowHost& Host() const { return host_; }

    // Runs a message: the handler object's handler when one is attached, else the native handling;
    // a handler that calls Default() runs the native handling at that point, once.
    void Dispatch(const std::function<void()>& handlerCall, std::function<void()> nativeHandling);

  protected:
    QtWindow(QtWindowHost& host, int id, win::DWORD style, std::string_view gbkText);

    // Whether a handler call has anyone to run it: a control's messages go to its attached object.
    virtual bool HasHandler() const { return handler_ != nullptr; }
    const std::string& Text() const { return text_; }
    void KeepText(std::string_view gbkText) { text_ = std::string(gbkText); }

  private:
    QtWindowHost& host_;
    int id_;
    win::DWORD style_;
    std::string text_;
    QPointer<QWidget> widget_;
    win::CWnd* handler_ = nullptr;
    std::vector<std::function<void()>> nativeHandling_;
};

// The window behind a handle the Qt host gave out.
inline QtWindow* AsQtWindow(win::HWND window) {
    return static_cast<QtWindow*>(window);
}

}  // namespace qtwin
