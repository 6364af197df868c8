#pragma once
// Statics, static icons and group boxes: windows that draw their text or picture and, with SS_NOTIFY,
// take the pointer; a change of style can change whether the pointer goes through them.

#include <QPointer>

#include "QtControlWindow.h"

namespace qtwin {

class QtStatic;

class QtStaticWindow final : public QtControlWindow {
  public:
    QtStaticWindow(QtDialogWindow& dialog, const win::ControlTemplate& control, QWidget* parent);
    void SetStyle(win::DWORD style) override;

  private:
    QPointer<QtStatic> label_;
};

}  // namespace qtwin
