#pragma once
// A program object attached to a window: the dialog or a control subclassed by the dialog. Its
// virtual handlers are its message map; each base handler runs the window's native handling.

#include "platform/window/DeviceContext.h"
#include "platform/window/OwnerDraw.h"
#include "platform/window/Window.h"
#include "platform/window/WindowHost.h"

namespace win {

class CWnd {
  public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND GetSafeHwnd() const { return hwnd_; }
    WindowHost& Host() const { return *host_; }
    bool IsAttached() const { return hwnd_ != nullptr; }

    // Attaches this object to an existing window (SubclassWindow): runs PreSubclassWindow.
    void SubclassWindow(HWND window, WindowHost& host);
    // Called by the host when the window goes away; the object forgets it.
    void DetachWindow();

    // The native handling of the message being dispatched.
    void Default();

    virtual void OnMouseMove(UINT flags, Point point);
    virtual void OnLButtonDown(UINT flags, Point point);
    virtual void OnLButtonUp(UINT flags, Point point);
    virtual bool OnSetCursor(UINT hitTest, UINT message);

    // Notifications the owner reflects back to the control.
    virtual HBRUSH CtlColor(DeviceContext& dc, UINT ctlType);  // null: owner's normal colours
    virtual void DrawItem(DrawItemStruct& drawItem);
    virtual void MeasureItem(MeasureItemStruct& measureItem);
    virtual void DeleteItem(DeleteItemStruct& deleteItem);
    virtual int VKeyToItem(UINT key, UINT caretIndex);  // -1: the default action

  protected:
    virtual void PreSubclassWindow() {}
    // For a derived class that lets the host attach it before its own hook runs.
    void SetWindow(HWND window, WindowHost& host);

  private:
    HWND hwnd_ = nullptr;
    WindowHost* host_ = nullptr;
};

}  // namespace win
