#include "Win32DialogRouting.h"

#include "NativeHandles.h"
#include "Win32DeviceContext.h"
#include "Win32DialogWindow.h"
#include "Win32WindowHost.h"

// Last: <windows.h> after the program's window headers.
#include "NativeWindows.h"

namespace win32 {

namespace {

LRESULT CallOriginal(const Win32Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(reinterpret_cast<WNDPROC>(window.OriginalProcedure()), window.Native(), message,
                           wParam, lParam);
}

void Subclass(Win32Window& window, WNDPROC procedure) {
    window.SetOriginalProcedure(
        SetWindowLongPtrW(window.Native(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

// The control a reflected notification is about, when the host made it and an object handles it.
win::CWnd* HandlerOf(HWND control) {
    Win32Window* window = control == nullptr ? nullptr : Win32Window::FromNative(control);
    return window == nullptr ? nullptr : window->GetHandlerObject();
}

LRESULT ReflectDrawItem(const DRAWITEMSTRUCT& native, FontCache& fonts) {
    win::CWnd* object = HandlerOf(native.hwndItem);
    if (object == nullptr)
        return FALSE;
    Win32DeviceContext dc(native.hDC, fonts);
    win::DrawItemStruct record;
    record.ctlType = native.CtlType;
    record.ctlId = static_cast<int>(native.CtlID);
    record.itemId = static_cast<int>(native.itemID);
    record.itemAction = native.itemAction;
    record.itemState = native.itemState;
    record.dc = &dc;
    record.rcItem = {native.rcItem.left, native.rcItem.top, native.rcItem.right, native.rcItem.bottom};
    record.itemData = native.itemData;
    object->DrawItem(record);
    return TRUE;
}

LRESULT ReflectMeasureItem(HWND dialog, MEASUREITEMSTRUCT& native) {
    win::CWnd* object = HandlerOf(::GetDlgItem(dialog, static_cast<int>(native.CtlID)));
    if (object == nullptr)
        return FALSE;
    win::MeasureItemStruct record{native.CtlType,
                                  static_cast<int>(native.CtlID),
                                  static_cast<int>(native.itemID),
                                  native.itemWidth,
                                  native.itemHeight,
                                  native.itemData};
    object->MeasureItem(record);
    native.itemWidth = record.itemWidth;
    native.itemHeight = record.itemHeight;
    return TRUE;
}

LRESULT ReflectDeleteItem(Win32DialogWindow& dialog, WPARAM wParam, LPARAM lParam) {
    const auto& native = *reinterpret_cast<const DELETEITEMSTRUCT*>(lParam);
    Win32Window* control = native.hwndItem == nullptr ? nullptr : Win32Window::FromNative(native.hwndItem);
    if (control == nullptr || control->GetHandlerObject() == nullptr)
        return CallOriginal(dialog, WM_DELETEITEM, wParam, lParam);
    win::DeleteItemStruct record{native.CtlType, static_cast<int>(native.CtlID),
                                 static_cast<int>(native.itemID), native.itemData};
    control->Dispatch([&] { control->GetHandlerObject()->DeleteItem(record); },
                      [&] { return CallOriginal(dialog, WM_DELETEITEM, wParam, lParam); });
    return TRUE;
}

LRESULT ReflectCtlColor(Win32DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    win::CWnd* object = HandlerOf(reinterpret_cast<HWND>(lParam));
    if (object != nullptr) {
        Win32DeviceContext dc(reinterpret_cast<HDC>(wParam), dialog.Host().Fonts());
        const win::HBRUSH brush = object->CtlColor(dc, message - WM_CTLCOLORMSGBOX);
        if (brush != nullptr) {
            // The colours the handler set stay on the context the control draws with.
            dc.KeepState();
            return reinterpret_cast<LRESULT>(dialog.Host().NativeBrush(*brush));
        }
    }
    return CallOriginal(dialog, message, wParam, lParam);
}

LRESULT Paint(Win32DialogWindow& dialog) {
    PAINTSTRUCT paint{};
    HDC native = BeginPaint(dialog.Native(), &paint);
    {
        Win32DeviceContext dc(native, dialog.Host().Fonts());
        dialog.Dispatch([&] { dialog.Dialog().OnPaint(dc); }, nullptr);
    }
    EndPaint(dialog.Native(), &paint);
    return 0;
}

LRESULT ForDialog(Win32DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    win::CDialog& object = dialog.Dialog();
    auto native = [&] { return CallOriginal(dialog, message, wParam, lParam); };
    switch (message) {
        case WM_COMMAND:
        case WM_CLOSE:
            return dialog.Dispatch([&] { object.WindowProc(message, wParam, lParam); }, native);
        case WM_SYSCOMMAND:
            return dialog.Dispatch([&] { object.OnSysCommand(static_cast<UINT>(wParam)); }, native);
        case WM_PAINT:
            return Paint(dialog);
        case WM_QUERYDRAGICON: {
            const win::HICON icon = object.OnQueryDragIcon();
            return icon == nullptr ? native() : reinterpret_cast<LRESULT>(icon->native);
        }
        case WM_DRAWITEM:
            return ReflectDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), dialog.Host().Fonts());
        case WM_MEASUREITEM:
            return ReflectMeasureItem(dialog.Native(), *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        case WM_DELETEITEM:
            return ReflectDeleteItem(dialog, wParam, lParam);
        case WM_VKEYTOITEM: {
            win::CWnd* control = HandlerOf(reinterpret_cast<HWND>(lParam));
            return control == nullptr ? native() : control->VKeyToItem(LOWORD(wParam), HIWORD(wParam));
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            return ReflectCtlColor(dialog, message, wParam, lParam);
        case WM_DESTROY:
            dialog.Dispatch([&] { object.OnDestroy(); }, nullptr);
            return native();
        default:
            return native();
    }
}

LRESULT CALLBACK DialogSubclassProcedure(HWND native, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = static_cast<Win32DialogWindow*>(Win32Window::FromNative(native));
    if (dialog == nullptr)
        return DefDlgProcW(native, message, wParam, lParam);
    if (message == kRunMessageRequest) {
        const auto& request = *reinterpret_cast<const RunMessageRequest*>(lParam);
        return dialog->SendMessage(request.message, request.wParam, request.lParam);
    }
    if (message == kMessageBoxRequest) {
        const auto& request = *reinterpret_cast<const MessageBoxRequest*>(lParam);
        return MessageBoxW(native, request.text, request.caption, request.type);
    }
    if (message == WM_NCDESTROY) {
        dialog->Host().ForgetDialog(*dialog);
        dialog->ReleaseWindows();
        const LRESULT result = CallOriginal(*dialog, message, wParam, lParam);
        SetWindowLongPtrW(native, GWLP_WNDPROC, dialog->OriginalProcedure());
        return result;
    }
    return ForDialog(*dialog, message, wParam, lParam);
}

LRESULT CALLBACK ControlSubclassProcedure(HWND native, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32Window* control = Win32Window::FromNative(native);
    if (control == nullptr)
        return DefWindowProcW(native, message, wParam, lParam);
    win::CWnd* object = control->GetHandlerObject();
    auto original = [&] { return CallOriginal(*control, message, wParam, lParam); };
    const auto flags = static_cast<win::UINT>(wParam);
    const win::Point point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
        case WM_MOUSEMOVE:
            return control->Dispatch([&] { object->OnMouseMove(flags, point); }, original);
        case WM_LBUTTONDOWN:
            return control->Dispatch([&] { object->OnLButtonDown(flags, point); }, original);
        case WM_LBUTTONUP:
            return control->Dispatch([&] { object->OnLButtonUp(flags, point); }, original);
        case WM_SETCURSOR: {
            bool handled = false;
            const LRESULT result = control->Dispatch(
                [&] { handled = object->OnSetCursor(LOWORD(lParam), HIWORD(lParam)); }, original);
            return handled ? TRUE : result;
        }
        case WM_NCDESTROY: {
            const LRESULT result = original();
            SetWindowLongPtrW(native, GWLP_WNDPROC, control->OriginalProcedure());
            return result;
        }
        default:
            return original();
    }
}

}  // namespace

void SubclassControl(Win32Window& control) {
    Subclass(control, ControlSubclassProcedure);
}

INT_PTR CALLBACK DialogProcedure(HWND native, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    auto& run = *reinterpret_cast<ModalRun*>(lParam);
    run.window = std::make_unique<Win32DialogWindow>(run.host, native, run.dialog);
    Win32DialogWindow& window = *run.window;
    Subclass(window, DialogSubclassProcedure);
    window.AdoptControls(run.dialogTemplate);
    run.host.RememberDialog(window);
    run.dialog.AttachDialogWindow(&window);
    bool setFocus = true;
    window.Dispatch([&] { setFocus = run.dialog.OnInitDialog(); }, nullptr);
    // TRUE leaves the focus to the dialog manager: the first tab stop.
    return setFocus ? TRUE : FALSE;
}

}  // namespace win32
