#include "RestoreSecurityDialog.h"

#include "ScriptText.h"

RestoreSecurityDialog::RestoreSecurityDialog(const std::string& locale)
    : ui::Dialog("restore_security.html", locale) {}

void RestoreSecurityDialog::onDocumentComplete() {
    runPageCalls({flagCall("showBackButton", showBackButton), flagCall("setRestoreCheckbox", restoreSecurity)});
    ui::Dialog::onDocumentComplete();
}

void RestoreSecurityDialog::notify(const std::string& event, const std::vector<std::string>& params) {
    if (event == "restoreSecurity") {
        restoreSecurity = !params.empty() && params[0] == "1";
    } else {
        ui::Dialog::notify(event, params);
    }
}
