#include "app/CorvaneApp.h"

#include <memory>

#include "app/CorvaneDlg.h"

namespace app {

bool CCorvaneApp::InitInstance() {
    // Three-dimensional control drawing is the platform's own look everywhere this runs.
    auto dialog = std::make_unique<CCorvaneDlg>(platform_);
    dialog->DoModal();
    dialog.reset();
    return false;
}

}  // namespace app
