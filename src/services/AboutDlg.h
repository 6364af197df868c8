#pragma once
// The About box: template 100, closed by its OK button.

#include "platform/window/CDialog.h"
#include "res/Templates.h"

namespace services {

class CAboutDlg : public win::CDialog {
  public:
    explicit CAboutDlg(win::WindowHost& host) : CDialog(host, res::AboutDialogTemplate()) {}
};

}  // namespace services
