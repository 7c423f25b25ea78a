#include "ProgressDialog.h"

#include <locale>
#include <sstream>

#include "tstrings.h"

ProgressDialog::ProgressDialog(const std::string& locale)
    : ui::Dialog("progress.html", locale), switchInterval(0) {}

void ProgressDialog::onDocumentComplete() {
    for (const std::string& banner : banners) {
        execJScript(bannerScript(banner));
    }
    if (switchInterval != 0) {
        execJScript(tstrings::sformat("setSwitchInterval(%d)", switchInterval));
    }
    ui::Dialog::onDocumentComplete();
}

void ProgressDialog::setProgress(double percent) {
    // A page that did not load has no bar; each call would only fail.
    if (!isLoaded()) return;
    execJScript(progressScript(percent));
}

std::string progressScript(double percent) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << "setProgress(" << percent << ")";
    return text.str();
}

std::string bannerScript(const std::string& url) {
    // A quote or backslash in the URL must not end the string early.
    std::string quoted;
    for (const char c : url) {
        if (c == '\'' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return "addBanner('" + quoted + "')";
}
