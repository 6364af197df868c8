#pragma once
// The window host of headless tests: dialogs are plain records of their controls, the test plays the
// user through a script run inside the modal loop, message boxes are answered in advance and every
// one is recorded, icons are counted.

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/window/CDialog.h"
#include "platform/window/WindowHost.h"

namespace fakes {

class FakeWindowHost;

struct FakeIcon {
    int resourceId = 0;
    int size = 0;
};

struct FakeItem {
    std::string text;
    std::uintptr_t data = 0;
    int height = 16;
};

class FakeWindow : public win::Window {
  public:
    FakeWindow(FakeWindowHost& host, win::ControlKind kind, int id, std::string text, win::DWORD style,
               win::Rect rect, FakeWindow* parent);

    int GetDlgCtrlID() const override { return id_; }
    std::string GetWindowText() const override;
    void SetWindowText(std::string_view gbkText) override;
    void ShowWindow(int showCommand) override { visible_ = showCommand != win::SW_HIDE; }
    bool IsWindowVisible() const override { return visible_; }
    win::DWORD GetStyle() const override { return style_; }
    void SetStyle(win::DWORD style) override { style_ = style; }
    win::Rect GetClientRect() const override { return {0, 0, rect_.Width(), rect_.Height()}; }
    void Invalidate(bool erase) override;
    void RedrawWindow(win::UINT flags) override;
    void SetCapture() override;
    void ReleaseCapture() override;
    bool HasCapture() const override;
    win::LogFont GetFont() const override { return font_; }
    void DefWindowProc() override;
    void SetHandlerObject(win::CWnd* object) override { handler_ = object; }
    win::CWnd* GetHandlerObject() const override { return handler_; }

    win::Window* GetDlgItem(int controlId) const override;
    bool IsIconic() const override { return iconic_; }
    void SetIcon(win::HICON icon, bool bigIcon) override { (bigIcon ? bigIcon_ : smallIcon_) = icon; }
    bool HasSystemMenu() const override;
    void AppendSystemMenuSeparator() override { systemMenu_.emplace_back(0, ""); }
    void AppendSystemMenuItem(win::UINT commandId, std::string_view gbkText) override {
        systemMenu_.emplace_back(commandId, gbkText);
    }
    void EndDialog(int result) override;
    win::LRESULT SendMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;

    int GetCheck() const override { return check_; }
    void SetCheck(int state) override { check_ = state; }
    void SetButtonIcon(win::HICON icon) override { buttonIcon_ = icon; }
    void LimitText(int maxChars) override { textLimit_ = maxChars; }

    int AddString(std::string_view gbkText) override;
    int InsertString(int index, std::string_view gbkText) override;
    int DeleteString(int index) override;
    void ResetContent() override;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    int GetCurSel() const override { return curSel_; }
    int SetCurSel(int index) override;
    std::string GetItemText(int index) const override;
    std::uintptr_t GetItemData(int index) const override;
    int SetItemData(int index, std::uintptr_t data) override;
    int SetItemHeight(int index, int height) override;
    win::DWORD ItemFromPoint(win::Point clientPoint) const override;
    int GetTopIndex() const override { return topIndex_; }

    void SetAddress(win::DWORD address) override;
    void ClearAddress() override { address_.reset(); }

    // What tests look at.
    win::ControlKind Kind() const { return kind_; }
    int TextLimit() const { return textLimit_; }
    win::HICON ButtonIcon() const { return buttonIcon_; }
    win::HICON BigIcon() const { return bigIcon_; }
    win::HICON SmallIcon() const { return smallIcon_; }
    const std::vector<std::pair<win::UINT, std::string>>& SystemMenu() const { return systemMenu_; }
    const std::vector<FakeItem>& Items() const { return items_; }
    int SelectionFieldHeight() const { return selectionFieldHeight_; }
    int InvalidateCount() const { return invalidateCount_; }
    int RedrawNowCount() const { return redrawNowCount_; }
    void SetIconic(bool iconic) { iconic_ = iconic; }
    void SetClientSize(int width, int height) {
        rect_ = {rect_.left, rect_.top, rect_.left + width, rect_.top + height};
    }
    // A list scrolled so that entry index is shown first.
    void ScrollTo(int index) { topIndex_ = index; }
    // The entries shown whole from the top entry on, at least one.
    int PageSize() const;
    std::vector<FakeWindow*> Children() const;
    std::optional<int> EndResult() const { return endResult_; }

    // The native handling of the message in flight, run when the handler calls Default().
    void Dispatch(const std::function<void()>& handlerCall, std::function<void()> nativeHandling);
    void DeleteAllItemsOnDestroy();
    void AddChild(std::unique_ptr<FakeWindow> child);

  private:
    void ReportDeleteItem(int index);
    bool IsOwnerDraw() const;
    void MeasureNewItem(int index);

    FakeWindowHost& host_;
    win::ControlKind kind_;
    int id_;
    std::string text_;
    win::DWORD style_;
    win::Rect rect_;
    std::vector<std::unique_ptr<FakeWindow>> children_;
    win::CWnd* handler_ = nullptr;
    std::vector<std::function<void()>> nativeHandling_;
    bool visible_ = true;
    bool iconic_ = false;
    int check_ = win::BST_UNCHECKED;
    int textLimit_ = 0;
    win::HICON buttonIcon_ = nullptr;
    win::HICON bigIcon_ = nullptr;
    win::HICON smallIcon_ = nullptr;
    std::vector<std::pair<win::UINT, std::string>> systemMenu_;
    std::vector<FakeItem> items_;
    int curSel_ = -1;
    int topIndex_ = 0;
    int selectionFieldHeight_ = 0;
    std::optional<std::array<int, 4>> address_;
    win::LogFont font_{"WenQuanYi Zen Hei", 9, 400, false, false};
    int invalidateCount_ = 0;
    int redrawNowCount_ = 0;
    std::optional<int> endResult_;
};

// The control with the id in a dialog on the fake host; a test that names a missing one ends.
FakeWindow& Item(FakeWindow& dialog, int controlId);

struct ShownMessageBox {
    win::HWND owner = nullptr;
    std::string text;
    std::string caption;
    win::UINT type = 0;
};

class FakeWindowHost : public win::WindowHost {
  public:
    using Script = std::function<void(FakeWindow& dialogWindow)>;

    FakeWindowHost();
    ~FakeWindowHost() override;

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

    // The test's side. Scripts run in order, one per RunModal; without one a dialog ends at once.
    void AddScript(Script script) { scripts_.push_back(std::move(script)); }
    void AnswerNextMessageBox(int answer) { answers_.push_back(answer); }
    std::vector<ShownMessageBox> MessageBoxes() const;
    int LiveIconCount() const { return static_cast<int>(liveIcons_.size()); }
    int DestroyedUnknownIcons() const { return destroyedUnknownIcons_; }
    static const FakeIcon* IconOf(win::HICON icon) { return reinterpret_cast<const FakeIcon*>(icon); }
    int CursorResource() const { return currentCursor_; }
    std::vector<std::string> DebugOutput() const { return debugOutput_; }
    void SetSysColor(int index, win::COLORREF color) { sysColors_[index] = color; }
    void FailIconLoads(bool fail) { failIconLoads_ = fail; }
    std::vector<int> ModalTemplates() const { return modalTemplates_; }

    // The user, inside a script.
    void Click(FakeWindow& dialog, int controlId);
    void ClickListRow(FakeWindow& dialog, int controlId, int row);
    void ClickListBelowRows(FakeWindow& dialog, int controlId);
    void PressListKey(FakeWindow& dialog, int controlId, win::UINT virtualKey);
    void SelectComboItem(FakeWindow& dialog, int controlId, int index);
    void CloseBox(FakeWindow& dialog);
    void PressEscape(FakeWindow& dialog);

    // Used by FakeWindow.
    win::CDialog* DialogOf(const FakeWindow& dialogWindow) const;
    void Notify(FakeWindow& control, win::UINT code);
    std::recursive_mutex& DispatchMutex() { return dispatchMutex_; }

  private:
    std::unique_ptr<FakeWindow> CreateWindows(const win::DialogTemplate& dialogTemplate);

    std::deque<Script> scripts_;
    std::deque<int> answers_;
    mutable std::mutex boxesMutex_;
    std::vector<ShownMessageBox> boxes_;
    std::map<const FakeWindow*, win::CDialog*> dialogs_;
    std::map<win::HICON, std::unique_ptr<FakeIcon>> liveIcons_;
    std::vector<std::unique_ptr<FakeIcon>> cursors_;
    int destroyedUnknownIcons_ = 0;
    int currentCursor_ = 0;
    std::vector<std::string> debugOutput_;
    std::map<int, win::COLORREF> sysColors_;
    bool failIconLoads_ = false;
    std::vector<int> modalTemplates_;
    std::recursive_mutex dispatchMutex_;
};

}  // namespace fakes
