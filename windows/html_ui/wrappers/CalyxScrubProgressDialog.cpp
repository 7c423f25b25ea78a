#include "CalyxScrubProgressDialog.h"

#include "ScriptText.h"

namespace cxscrub {
namespace ui {

CalyxScrubProgressDialog::CalyxScrubProgressDialog(const std::string& locale)
    : ::ui::Dialog("calyxscrub_progress.html", locale) {}

void CalyxScrubProgressDialog::onDocumentComplete() {
    runPageCalls({flagCall("showProgressView", !completed)});
    ::ui::Dialog::onDocumentComplete();
}

void CalyxScrubProgressDialog::notify(const std::string& event, const std::vector<std::string>& params) {
    if (event == "a" && !params.empty() && params[0] == "viewListLink") {
        endDialog(::ui::DialogLink);
    } else {
        ::ui::Dialog::notify(event, params);
    }
}

void CalyxScrubProgressDialog::setStatus(const std::string& name, int number, int total) {
    if (!isLoaded()) return;
    execJScript("setStatus(" + jsString(name) + ",'" + std::to_string(number) + "','" + std::to_string(total) + "')");
}

} // namespace ui
} // namespace cxscrub
