#include "QtWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>

#include "QtDeviceContext.h"
#include "QtIcons.h"
#include "QtIpAddressEdit.h"
#include "QtItemStore.h"
#include "QtStatic.h"
#include "QtText.h"
#include "QtWindowHost.h"
#include "platform/window/Styles.h"

namespace qtwin {

using win::ControlKind;

namespace {

// EM_LIMITTEXT limits what the user types, not the text the program sets: a longer text set by the
// program stays whole and can still be shortened. (QLineEdit's maxLength would cut it.)
class TextLimit : public QObject {
  public:
    TextLimit(QLineEdit& edit, int limit) : QObject(&edit), edit_(edit), limit_(limit) {
        setObjectName(QStringLiteral("ostrelle-text-limit"));
        edit.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        QString added;
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Paste)) {
                added = QGuiApplication::clipboard()->text();
            } else if (!key->text().isEmpty() && key->text().at(0).isPrint()) {
                added = key->text();
            }
        } else if (event->type() == QEvent::InputMethod) {
            added = static_cast<QInputMethodEvent*>(event)->commitString();
        }
        if (added.isEmpty())
            return false;
        const qsizetype kept = edit_.text().size() - edit_.selectedText().size();
        // Text that does not fit is refused whole, with a beep as the edit gives.
        if (kept + added.size() <= limit_)
            return false;
        QApplication::beep();
        return true;
    }

  private:
    QLineEdit& edit_;
    int limit_;
};

}  // namespace

QtWindow::QtWindow(QtWindowHost& host, win::CDialog& dialog, const win::DialogTemplate& dialogTemplate)
    : host_(host), dialog_(&dialog), id_(0), style_(dialogTemplate.style), text_(dialogTemplate.caption) {}

QtWindow::QtWindow(QtWindowHost& host, QtWindow& parent, const win::ControlTemplate& control)
    : host_(host),
      parent_(&parent),
      kind_(control.kind),
      id_(control.id),
      style_(control.style),
      text_(control.text) {}

QtWindow::~QtWindow() = default;

std::string QtWindow::GetWindowText() const {
    if (kind_ == ControlKind::Edit && widget_)
        return ToGbk(static_cast<QLineEdit*>(widget_.data())->text());
    if (kind_ == ControlKind::IpAddress && ipAddress_ != nullptr)
        return ipAddress_->Text();
    if (kind_ == ControlKind::ComboBox && items_ != nullptr)
        return items_->GetItemText(items_->GetCurSel());
    if (kind_ == ControlKind::ListBox)
        return "";
    return text_;
}

void QtWindow::SetWindowText(std::string_view gbkText) {
    if (kind_ == ControlKind::IpAddress && ipAddress_ != nullptr) {
        ipAddress_->SetText(std::string(gbkText));
        return;
    }
    text_ = std::string(gbkText);
    if (!widget_)
        return;
    if (IsDialog()) {
        widget_->setWindowTitle(ToQString(text_));
    } else if (kind_ == ControlKind::Edit) {
        static_cast<QLineEdit*>(widget_.data())->setText(ToQString(text_));
    } else if (kind_ == ControlKind::PushButton || kind_ == ControlKind::CheckBox) {
        // An icon button never shows its text, with or without its icon.
        auto* button = static_cast<QAbstractButton*>(widget_.data());
        if (!(style_ & win::BS_ICON))
            button->setText(ToQString(text_));
    } else {
        widget_->update();
    }
}

void QtWindow::ShowWindow(int showCommand) {
    const bool show = showCommand != win::SW_HIDE;
    style_ = show ? (style_ | win::WS_VISIBLE) : (style_ & ~win::WS_VISIBLE);
    if (widget_ && !IsDialog())
        widget_->setVisible(show);
}

bool QtWindow::IsWindowVisible() const {
    if (IsDialog())
        return widget_ && widget_->isVisible();
    return (style_ & win::WS_VISIBLE) != 0 && (parent_ == nullptr || !parent_->Ended());
}

void QtWindow::SetStyle(win::DWORD style) {
    style_ = style;
    if (auto* label = dynamic_cast<QtStatic*>(widget_.data()))
        label->UpdatePointerTransparency();
    if (widget_)
        widget_->update();
}

win::Rect QtWindow::GetClientRect() const {
    if (!widget_)
        return {};
    if (items_ != nullptr && kind_ == ControlKind::ListBox) {
        const QWidget* viewport = widget_->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
        if (viewport != nullptr)
            return {0, 0, viewport->width(), viewport->height()};
    }
    return {0, 0, widget_->width(), widget_->height()};
}

void QtWindow::Invalidate(bool) {
    if (widget_)
        widget_->update();
}

void QtWindow::RedrawWindow(win::UINT flags) {
    if (!widget_)
        return;
    // RDW_UPDATENOW paints before returning.
    if (flags & win::RDW_UPDATENOW) {
        widget_->repaint();
    } else if (flags & win::RDW_INVALIDATE) {
        widget_->update();
    }
}

void QtWindow::SetCapture() {
    if (widget_)
        widget_->grabMouse();
}

void QtWindow::ReleaseCapture() {
    if (widget_ && QWidget::mouseGrabber() == widget_.data())
        widget_->releaseMouse();
}

bool QtWindow::HasCapture() const {
    return widget_ && QWidget::mouseGrabber() == widget_.data();
}

win::LogFont QtWindow::GetFont() const {
    win::LogFont font;
    if (!widget_)
        return font;
    const QFont qfont = widget_->font();
    font.faceName = qfont.family().toStdString();
    font.pointSize = 9;
    if (qfont.pixelSize() > 0)
        font.pointSize = (qfont.pixelSize() * 72 + 48) / 96;
    font.weight = qfont.weight();
    font.italic = qfont.italic();
    font.underline = qfont.underline();
    return font;
}

void QtWindow::Dispatch(const std::function<void()>& handlerCall, std::function<void()> nativeHandling) {
    if (handler_ == nullptr && !IsDialog()) {
        if (nativeHandling)
            nativeHandling();
        return;
    }
    nativeHandling_.push_back(std::move(nativeHandling));
    handlerCall();
    nativeHandling_.pop_back();
}

void QtWindow::DefWindowProc() {
    if (nativeHandling_.empty() || !nativeHandling_.back())
        return;
    // The native handling runs once per message, however often the handler calls Default().
    auto native = std::move(nativeHandling_.back());
    nativeHandling_.back() = nullptr;
    native();
}

void QtWindow::Notify(win::UINT code) {
    if (parent_ == nullptr || parent_->dialog_ == nullptr || parent_->Ended())
        return;
    win::CDialog* dialog = parent_->dialog_;
    const int id = id_;
    parent_->Dispatch([&] { dialog->OnCommand(id, code); }, [] {});
}

win::HBRUSH QtWindow::CtlColor(QtDeviceContext& dc, win::UINT ctlType) {
    if (handler_ == nullptr)
        return nullptr;
    win::HBRUSH brush = nullptr;
    Dispatch([&] { brush = handler_->CtlColor(dc, ctlType); }, [] {});
    return brush;
}

win::Window* QtWindow::GetDlgItem(int controlId) const {
    for (const auto& child : children_) {
        if (child->id_ == controlId)
            return child.get();
    }
    return nullptr;
}

bool QtWindow::IsIconic() const {
    return widget_ && widget_->isMinimized();
}

void QtWindow::SetIcon(win::HICON icon, bool bigIcon) {
    const QPixmap* pixmap = PixmapOf(icon);
    if (!widget_ || pixmap == nullptr)
        return;
    QIcon windowIcon = widget_->windowIcon();
    windowIcon.addPixmap(bigIcon ? *pixmap
                                 : pixmap->scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    widget_->setWindowIcon(windowIcon);
}

bool QtWindow::HasSystemMenu() const {
    return IsDialog() && (style_ & win::WS_SYSMENU) != 0;
}

void QtWindow::AppendSystemMenuSeparator() {
    systemMenu_.push_back({0, QString()});
}

void QtWindow::AppendSystemMenuItem(win::UINT commandId, std::string_view gbkText) {
    systemMenu_.push_back({commandId, ToQString(gbkText)});
}

void QtWindow::EndDialog(int result) {
    if (!IsDialog() || endResult_)
        return;
    endResult_ = result;
    if (auto* dialog = qobject_cast<QDialog*>(widget_.data()))
        dialog->done(result);
}

win::LRESULT QtWindow::SendMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    auto run = [this, message, wParam, lParam]() -> win::LRESULT {
        if (!IsDialog() || Ended())
            return 0;
        win::LRESULT result = 0;
        Dispatch([&] { result = dialog_->WindowProc(message, wParam, lParam); }, [] {});
        return result;
    };
    if (QThread::currentThread() == QCoreApplication::instance()->thread())
        return run();
    // From another thread the message runs on the dialog's thread while this one waits; a window
    // destroyed meanwhile answers 0.
    win::LRESULT result = 0;
    QPointer<QWidget> target = widget_;
    if (!target)
        return 0;
    QMetaObject::invokeMethod(
        target.data(), [&result, run] { result = run(); }, Qt::BlockingQueuedConnection);
    return result;
}

int QtWindow::GetCheck() const {
    auto* button = qobject_cast<QAbstractButton*>(widget_.data());
    return button != nullptr && button->isChecked() ? win::BST_CHECKED : win::BST_UNCHECKED;
}

void QtWindow::SetCheck(int state) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget_.data()))
        button->setChecked(state == win::BST_CHECKED);
}

void QtWindow::SetButtonIcon(win::HICON icon) {
    auto* button = qobject_cast<QPushButton*>(widget_.data());
    if (button == nullptr)
        return;
    const QPixmap* pixmap = PixmapOf(icon);
    if (pixmap == nullptr) {
        button->setIcon(QIcon());
        if (!(style_ & win::BS_ICON))
            button->setText(ToQString(text_));
        return;
    }
    // An icon button shows the picture instead of its text.
    button->setText(QString());
    button->setIcon(QIcon(*pixmap));
    button->setIconSize(pixmap->size());
}

void QtWindow::LimitText(int maxChars) {
    auto* edit = qobject_cast<QLineEdit*>(widget_.data());
    if (edit == nullptr)
        return;
    // Found by name: the class has no meta-object of its own to be found by type.
    delete edit->findChild<QObject*>(QStringLiteral("ostrelle-text-limit"), Qt::FindDirectChildrenOnly);
    if (maxChars > 0)
        new TextLimit(*edit, maxChars);
}

int QtWindow::AddString(std::string_view gbkText) {
    return items_ ? items_->AddString(gbkText) : -1;
}
int QtWindow::InsertString(int index, std::string_view gbkText) {
    return items_ ? items_->InsertString(index, gbkText) : -1;
}
int QtWindow::DeleteString(int index) {
    return items_ ? items_->DeleteString(index) : -1;
}
void QtWindow::ResetContent() {
    if (items_)
        items_->ResetContent();
}
int QtWindow::GetCount() const {
    return items_ ? items_->GetCount() : 0;
}
int QtWindow::GetCurSel() const {
    return items_ ? items_->GetCurSel() : -1;
}
int QtWindow::SetCurSel(int index) {
    return items_ ? items_->SetCurSel(index) : -1;
}
std::string QtWindow::GetItemText(int index) const {
    return items_ ? items_->GetItemText(index) : std::string();
}
std::uintptr_t QtWindow::GetItemData(int index) const {
    return items_ ? items_->GetItemData(index) : static_cast<std::uintptr_t>(-1);
}
int QtWindow::SetItemData(int index, std::uintptr_t data) {
    return items_ ? items_->SetItemData(index, data) : -1;
}
int QtWindow::SetItemHeight(int index, int height) {
    return items_ ? items_->SetItemHeight(index, height) : -1;
}
win::DWORD QtWindow::ItemFromPoint(win::Point point) const {
    return items_ ? items_->ItemFromPoint(point) : 0x10000;
}
int QtWindow::GetTopIndex() const {
    return items_ ? items_->GetTopIndex() : 0;
}

void QtWindow::SetAddress(win::DWORD address) {
    if (ipAddress_)
        ipAddress_->SetAddress(address);
}

void QtWindow::ClearAddress() {
    if (ipAddress_)
        ipAddress_->Clear();
}

QtWindow& QtWindow::AddChild(const win::ControlTemplate& control) {
    children_.push_back(std::make_unique<QtWindow>(host_, *this, control));
    return *children_.back();
}

void QtWindow::FocusFirstTabStop() {
    for (const auto& child : children_) {
        QWidget* widget = child->Widget();
        if ((child->style_ & win::WS_TABSTOP) && (child->style_ & win::WS_VISIBLE) && widget != nullptr &&
            widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void QtWindow::DestroyWindows() {
    // Children go first, as DestroyWindow destroys them after the dialog's WM_DESTROY.
    for (const auto& child : children_) {
        if (child->items_ != nullptr && child->items_->IsOwnerDraw())
            child->items_->ReportAllDeleted();
        if (win::CWnd* object = child->handler_)
            object->DetachWindow();
        child->handler_ = nullptr;
    }
    if (dialog_ != nullptr)
        dialog_->DetachWindow();
    handler_ = nullptr;
}

}  // namespace qtwin
