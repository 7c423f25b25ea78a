#include "WelcomeDialog.h"

#include "ScriptText.h"

WelcomeDialog::WelcomeDialog(const std::string& locale) : ui::Dialog("welcome.html", locale) {}

void WelcomeDialog::onDocumentComplete() {
    runPageCalls({flagCall("showChangeFolder", showChangeFolder), flagCall("setChangeFolder", changeFolder)});
    ui::Dialog::onDocumentComplete();
}

void WelcomeDialog::notify(const std::string& event, const std::vector<std::string>& params) {
    if (event == "changeFolder") {
        changeFolder = !params.empty() && params[0] == "1";
    } else {
        ui::Dialog::notify(event, params);
    }
}
