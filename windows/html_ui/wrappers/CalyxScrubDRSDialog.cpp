#include "CalyxScrubDRSDialog.h"

#include "CalyxScrubDialog.h"
#include "ScriptText.h"

namespace cxscrub {
namespace ui {

CalyxScrubDRSDialog::CalyxScrubDRSDialog(const std::string& locale) : ::ui::Dialog("calyxscrub_drs.html", locale) {}

void CalyxScrubDRSDialog::onDocumentComplete() {
    std::vector<std::string> calls;
    for (const InstalledCalyx& record : records) calls.push_back("addListItem(" + jsString(displayName(record)) + ");");
    runPageCalls(calls);
    ::ui::Dialog::onDocumentComplete();
}

} // namespace ui
} // namespace cxscrub
