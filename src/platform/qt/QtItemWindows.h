#pragma once
// List boxes and combo boxes: windows with entries. The entries are kept by the box's widget (a
// QtItemStore); the window answers the LB_* and CB_* calls from them. A list box has no text of its
// own, a combo box's text is its selected entry's.

#include <QPointer>

#include "QtControlWindow.h"

namespace qtwin {

class QtItemStore;
class QtOwnerDrawList;
class QtComboBox;

class QtItemWindow : public QtControlWindow {
  public:
    // The entries.
    int GetCount() const override;
    int AddString(std::string_view gbkText) override;
    int InsertString(int index, std::string_view gbkText) override;
    int DeleteString(int index) override;
    void ResetContent() override;
    int InitStorage(int items, win::UINT bytes) override;
    std::string GetItemText(int index) const override;
    std::uintptr_t GetItemData(int index) const override;
    int SetItemData(int index, std::uintptr_t data) override;
    int SetItemHeight(int index, int height) override;

    // The selection and what is shown.
    int GetCurSel() const override;
    int SetCurSel(int index) override;
    int GetTopIndex() const override;
    win::DWORD ItemFromPoint(win::Point clientPoint) const override;

    // An owner-drawn box reports every entry deleted before its object forgets it.
    void Destroy() override;

  protected:
    QtItemWindow(QtDialogWindow& dialog, const win::ControlTemplate& control);
    // The widget that keeps the entries, made by the derived window.
    void SetItems(QWidget* widget, QtItemStore& items);

  private:
    QtItemStore* items_ = nullptr;
};

class QtListBoxWindow final : public QtItemWindow {
  public:
    QtListBoxWindow(QtDialogWindow& dialog, const win::ControlTemplate& control, QWidget* parent);
    std::string GetWindowText() const override { return {}; }
    // The entries' area, without the scroll bar.
    win::Rect GetClientRect() const override;

  private:
    QPointer<QtOwnerDrawList> list_;
};

class QtComboBoxWindow final : public QtItemWindow {
  public:
    // The template's height is the dropped list's.
    QtComboBoxWindow(QtDialogWindow& dialog, const win::ControlTemplate& control, int dropDownHeight,
                     QWidget* parent);
    std::string GetWindowText() const override;
};

}  // namespace qtwin
