#include "CalyxScrubCompleteDialog.h"

#include "CalyxScrubDialog.h"
#include "ScriptText.h"

namespace cxscrub {
namespace ui {

CalyxScrubCompleteDialog::CalyxScrubCompleteDialog(const std::string& locale)
    : ::ui::Dialog("calyxscrub_complete.html", locale) {}

void CalyxScrubCompleteDialog::onDocumentComplete() {
    std::vector<std::string> calls;
    for (const auto& [element, records] : {std::make_pair("uninstalledList", &removed),
                                           std::make_pair("remainingList", &remaining)}) {
        for (const InstalledCalyx& record : *records) {
            calls.push_back(std::string("addListItem('") + element + "', " + jsString(displayName(record)) + ");");
        }
    }
    runPageCalls(calls);
    ::ui::Dialog::onDocumentComplete();
}

} // namespace ui
} // namespace cxscrub
