#pragma once
// A control of a dialog: what every control kind has beyond a window, its dialog, the notifications it
// sends there (WM_COMMAND) and the colour request the dialog reflects back to the control's object.

#include "QtWindow.h"
#include "platform/window/DialogTemplate.h"

namespace qtwin {

class QtDialogWindow;
class QtDeviceContext;

class QtControlWindow : public QtWindow {
  public:
    void ShowWindow(int showCommand) override;
    // A control of an ended dialog is no longer shown, whatever its style says.
    bool IsWindowVisible() const override;

    // A notification to the dialog (WM_COMMAND), after the control's own handling.
    void Notify(win::UINT code);
    // The reflected colour request; null when no handler answers it.
    win::HBRUSH CtlColor(QtDeviceContext& dc, win::UINT ctlType);
    // Window destruction: the attached object forgets the window.
    virtual void Destroy();

  protected:
    QtControlWindow(QtDialogWindow& dialog, const win::ControlTemplate& control);

  private:
    QtDialogWindow& dialog_;
};

}  // namespace qtwin
