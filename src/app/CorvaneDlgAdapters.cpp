#include "app/CorvaneDlg.h"

namespace app {

void CCorvaneDlg::RefreshAdapters() {}

void CCorvaneDlg::ShowAdapterSettings() {}

bool CCorvaneDlg::ApplyToSelectedAdapter(const std::string&, const std::string&, const std::string&,
                                         const std::string&, const std::string&) {
    return false;
}

}  // namespace app
