#include "CalyxScrubVersionsDialog.h"

#include "CalyxScrubDialog.h"
#include "ScriptText.h"

namespace cxscrub {
namespace ui {

CalyxScrubVersionsDialog::CalyxScrubVersionsDialog(const std::string& locale)
    : ::ui::Dialog("calyxscrub_versions.html", locale) {}

void CalyxScrubVersionsDialog::onDocumentComplete() {
    std::vector<std::string> calls;
    std::string status;
    for (size_t i = 0; i < items.size(); ++i) {
        calls.push_back("addListItem('" + std::to_string(i) + "', " + jsString(displayName(items[i].record)) + ")");
        status += items[i].checked ? '1' : '0';
    }
    if (!items.empty()) calls.push_back("updateListItems('" + status + "');");
    runPageCalls(calls);
    ::ui::Dialog::onDocumentComplete();
}

void CalyxScrubVersionsDialog::notify(const std::string& event, const std::vector<std::string>& params) {
    if (event != "checkbox_clicked") {
        ::ui::Dialog::notify(event, params);
        return;
    }
    const std::string status = params.empty() ? std::string() : params[0];
    for (size_t i = 0; i < items.size() && i < status.size(); ++i) {
        items[i].checked = status[i] == '1';
    }
}

} // namespace ui
} // namespace cxscrub
