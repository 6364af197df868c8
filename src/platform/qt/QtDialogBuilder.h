#pragma once
// Builds a dialog's widgets from its template: the dialog at its size in dialog units, each control a
// real widget at its rectangle, created in template order so that the tab order is the template's, and
// stacked in template order, the first control on top.

#include <QWidget>

#include "DialogUnits.h"
#include "platform/window/DialogTemplate.h"

namespace qtwin {

class QtDialogWindow;
class QtDialogWidget;

// Creates the dialog widget (a child window of owner, which may be null) and the control windows.
QtDialogWidget* BuildDialog(QtDialogWindow& dialogWindow, const win::DialogTemplate& dialogTemplate,
                            QWidget* owner);

// The mapping the dialog of this template uses.
DialogUnits UnitsFor(const win::DialogTemplate& dialogTemplate);

}  // namespace qtwin
