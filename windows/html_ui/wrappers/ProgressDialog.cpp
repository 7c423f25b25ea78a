#include "ProgressDialog.h"

#include "ScriptText.h"
#include "tstrings.h"

ProgressDialog::ProgressDialog(const std::string& locale)
    : ui::Dialog("progress.html", locale), switchInterval(0) {}

void ProgressDialog::onDocumentComplete() {
    std::vector<std::string> calls;
    for (const std::string& banner : banners) {
        calls.push_back(bannerScript(banner));
    }
    if (switchInterval != 0) {
        calls.push_back(tstrings::sformat("setSwitchInterval(%d)", switchInterval));
    }
    runPageCalls(calls);
    ui::Dialog::onDocumentComplete();
}

void ProgressDialog::setProgress(double percent) {
    // A page that did not load has no bar; each call would only fail.
    if (!isLoaded()) return;
    execJScript(progressScript(percent));
}

std::string progressScript(double percent) {
    // The process never sets a locale, so the C runtime's "%g" writes a
    // point; no stream (whose locale machinery would double the program).
    return tstrings::sformat("setProgress(%g)", percent);
}

std::string bannerScript(const std::string& url) {
    return "addBanner(" + jsString(url) + ")";
}
