#include "CalyxScrubDialog.h"

#include "Bundle.h"

namespace cxscrub {
namespace ui {

std::string displayName(const InstalledCalyx& record) {
    return Bundle(record.type(), record.bits(), record.fullVersion()).displayName();
}

CalyxScrubDialog::CalyxScrubDialog(const std::string& locale) : ::ui::Dialog("calyxscrub.html", locale) {}

void CalyxScrubDialog::notify(const std::string& event, const std::vector<std::string>& params) {
    if (event == "a" && !params.empty() && params[0] == "manageListLink") {
        endDialog(::ui::DialogLink);
    } else {
        ::ui::Dialog::notify(event, params);
    }
}

} // namespace ui
} // namespace cxscrub
