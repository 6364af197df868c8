#include "FakeWindowHost.h"

#include <algorithm>
#include <optional>

namespace fakes {

using win::ControlKind;

FakeWindowHost::FakeWindowHost() {
    sysColors_[win::COLOR_BTNFACE] = win::RGB(240, 240, 240);
    sysColors_[win::COLOR_HIGHLIGHT] = win::RGB(0, 120, 215);
}

FakeWindowHost::~FakeWindowHost() = default;

std::unique_ptr<FakeWindow> FakeWindowHost::CreateWindows(const win::DialogTemplate& dialogTemplate) {
    auto dialog = std::make_unique<FakeWindow>(
        *this, ControlKind::Static, 0, dialogTemplate.caption, dialogTemplate.style,
        win::Rect{0, 0, dialogTemplate.cx * 2, dialogTemplate.cy * 2}, nullptr);
    for (const auto& c : dialogTemplate.controls) {
        const win::Rect rect{c.x * 2, c.y * 2, (c.x + c.cx) * 2, (c.y + c.cy) * 2};
        dialog->AddChild(
            std::make_unique<FakeWindow>(*this, c.kind, c.id, c.text, c.style, rect, dialog.get()));
    }
    return dialog;
}

int FakeWindowHost::RunModal(win::CDialog& dialog, const win::DialogTemplate& dialogTemplate, win::HWND) {
    modalTemplates_.push_back(dialogTemplate.id);
    std::unique_ptr<FakeWindow> window = CreateWindows(dialogTemplate);
    {
        std::lock_guard lock(dispatchMutex_);
        dialogs_[window.get()] = &dialog;
        dialog.AttachDialogWindow(window.get());
        dialog.OnInitDialog();
    }
    Script script;
    if (!scripts_.empty()) {
        script = std::move(scripts_.front());
        scripts_.pop_front();
    }
    if (script && !window->EndResult())
        script(*window);
    std::lock_guard lock(dispatchMutex_);
    const int result = window->EndResult().value_or(-1);
    dialog.OnDestroy();
    window->DeleteAllItemsOnDestroy();
    for (FakeWindow* child : window->Children()) {
        if (win::CWnd* object = child->GetHandlerObject())
            object->DetachWindow();
        child->SetHandlerObject(nullptr);
    }
    dialog.DetachWindow();
    dialogs_.erase(window.get());
    return result;
}

int FakeWindowHost::MessageBox(win::HWND owner, std::string_view text, std::string_view caption,
                               win::UINT type) {
    std::lock_guard lock(boxesMutex_);
    boxes_.push_back({owner, std::string(text), std::string(caption), type});
    if (answers_.empty())
        return win::IDOK;
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

win::LRESULT FakeWindowHost::SendMessage(win::HWND window, win::UINT message, win::WPARAM wParam,
                                         win::LPARAM lParam) {
    std::lock_guard lock(dispatchMutex_);
    for (const auto& [dialogWindow, dialog] : dialogs_) {
        if (dialogWindow == window)
            return window->SendMessage(message, wParam, lParam);
    }
    return 0;  // a window that no longer exists
}

std::vector<ShownMessageBox> FakeWindowHost::MessageBoxes() const {
    std::lock_guard lock(boxesMutex_);
    return boxes_;
}

win::HICON FakeWindowHost::LoadIcon(int resourceId, int size) {
    if (failIconLoads_)
        return nullptr;
    auto icon = std::make_unique<FakeIcon>(FakeIcon{resourceId, size == 0 ? 32 : size});
    auto handle = reinterpret_cast<win::HICON>(icon.get());
    liveIcons_[handle] = std::move(icon);
    return handle;
}

void FakeWindowHost::DestroyIcon(win::HICON icon) {
    if (liveIcons_.erase(icon) == 0)
        ++destroyedUnknownIcons_;
}

win::HCURSOR FakeWindowHost::LoadCursor(int resourceId) {
    cursors_.push_back(std::make_unique<FakeIcon>(FakeIcon{resourceId, 32}));
    return reinterpret_cast<win::HCURSOR>(cursors_.back().get());
}

void FakeWindowHost::SetCursor(win::HCURSOR cursor) {
    currentCursor_ = cursor == nullptr ? 0 : reinterpret_cast<const FakeIcon*>(cursor)->resourceId;
}

int FakeWindowHost::GetSystemMetrics(int index) const {
    return index == win::SM_CXICON || index == win::SM_CYICON ? 32 : 0;
}

win::COLORREF FakeWindowHost::GetSysColor(int index) const {
    auto it = sysColors_.find(index);
    return it == sysColors_.end() ? 0 : it->second;
}

void FakeWindowHost::OutputDebugString(std::string_view text) {
    debugOutput_.emplace_back(text);
}

win::CDialog* FakeWindowHost::DialogOf(const FakeWindow& dialogWindow) const {
    auto it = dialogs_.find(&dialogWindow);
    return it == dialogs_.end() ? nullptr : it->second;
}

void FakeWindowHost::Notify(FakeWindow& control, win::UINT code) {
    for (auto& [window, dialog] : dialogs_) {
        if (window->GetDlgItem(control.GetDlgCtrlID()) == &control)
            dialog->OnCommand(control.GetDlgCtrlID(), code);
    }
}

void FakeWindowHost::Click(FakeWindow& dialog, int controlId) {
    std::lock_guard lock(dispatchMutex_);
    FakeWindow& control = Item(dialog, controlId);
    if (control.Kind() == ControlKind::CheckBox) {
        control.SetCheck(control.GetCheck() == win::BST_CHECKED ? win::BST_UNCHECKED : win::BST_CHECKED);
    }
    Notify(control, win::BN_CLICKED);
}

void FakeWindowHost::ClickListRow(FakeWindow& dialog, int controlId, int row) {
    FakeWindow& list = Item(dialog, controlId);
    int top = 0;
    for (int i = 0; i < row && i < list.GetCount(); ++i)
        top += list.Items()[static_cast<std::size_t>(i)].height;
    const win::Point point{4, top + 1};
    std::lock_guard lock(dispatchMutex_);
    win::CWnd* handler = list.GetHandlerObject();
    list.Dispatch([&] { handler->OnLButtonDown(0, point); }, [] {});
    // The list box selects on release and reports the change while it handles the release.
    list.Dispatch([&] { handler->OnLButtonUp(0, point); },
                  [&] {
                      const win::DWORD hit = list.ItemFromPoint(point);
                      if (list.GetCount() == 0 || (hit >> 16) != 0)
                          return;
                      list.SetCurSel(static_cast<int>(hit & 0xFFFF));
                      Notify(list, win::LBN_SELCHANGE);
                  });
}

void FakeWindowHost::ClickListBelowRows(FakeWindow& dialog, int controlId) {
    FakeWindow& list = Item(dialog, controlId);
    int bottom = 0;
    for (const auto& item : list.Items())
        bottom += item.height;
    const win::Point point{4, bottom + 5};
    std::lock_guard lock(dispatchMutex_);
    win::CWnd* handler = list.GetHandlerObject();
    list.Dispatch([&] { handler->OnLButtonUp(0, point); }, [] {});
}

namespace {

// Where the list box moves its selection for a key: arrows one entry from the selection (with none,
// they select the caret entry), Page Up and Page Down to the other end of the page starting at the
// caret, Home and End to either end, before stopping at the ends; nothing for a key that moves nothing.
std::optional<int> ListBoxMove(const FakeWindow& list, win::UINT key, int caret) {
    const int selected = list.GetCurSel();
    switch (key) {
        case win::VK_UP:
        case 0x25:
            return selected < 0 ? caret : selected - 1;
        case win::VK_DOWN:
        case 0x27:
            return selected < 0 ? caret : selected + 1;
        case 0x21:
            return caret - (list.PageSize() - 1);
        case 0x22:
            return caret + (list.PageSize() - 1);
        case 0x24:
            return 0;
        case 0x23:
            return list.GetCount() - 1;
        default:
            return std::nullopt;
    }
}

}  // namespace

void FakeWindowHost::PressListKey(FakeWindow& dialog, int controlId, win::UINT key) {
    FakeWindow& list = Item(dialog, controlId);
    std::lock_guard lock(dispatchMutex_);
    win::CWnd* handler = list.GetHandlerObject();
    const int caret = list.GetCurSel() < 0 ? 0 : list.GetCurSel();
    const int answer = handler == nullptr ? -1 : handler->VKeyToItem(key, static_cast<win::UINT>(caret));
    const std::optional<int> move = ListBoxMove(list, key, caret);
    if (answer != -1 || !move || list.GetCount() == 0)
        return;
    const int next = std::clamp(*move, 0, list.GetCount() - 1);
    if (next == list.GetCurSel())
        return;
    list.SetCurSel(next);
    Notify(list, win::LBN_SELCHANGE);
}

void FakeWindowHost::SelectComboItem(FakeWindow& dialog, int controlId, int index) {
    std::lock_guard lock(dispatchMutex_);
    FakeWindow& combo = Item(dialog, controlId);
    combo.SetCurSel(index);
    Notify(combo, win::CBN_SELCHANGE);
}

void FakeWindowHost::CloseBox(FakeWindow& dialog) {
    std::lock_guard lock(dispatchMutex_);
    DialogOf(dialog)->OnClose();
}

void FakeWindowHost::PressEscape(FakeWindow& dialog) {
    std::lock_guard lock(dispatchMutex_);
    DialogOf(dialog)->OnCancel();
}

}  // namespace fakes
