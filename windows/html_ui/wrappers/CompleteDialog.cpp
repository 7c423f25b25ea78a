#include "CompleteDialog.h"

#include "Log.h"
#include "ScriptText.h"

CompleteDialog::CompleteDialog(const std::string& locale, MessageBoxFunction messageBox)
    : ui::Dialog("complete.html", locale), messageBox(messageBox) {}

void CompleteDialog::onDocumentComplete() {
    runPageCalls({flagCall("showBackButton", showBackButton), flagCall("showSecurity", showSecurity),
                  flagCall("showRestartBrowser", showRestartBrowser), flagCall("setRestartBrowser", restartBrowser),
                  flagCall("showVerify", showVerify), "selectSponsor(" + jsString(sponsor) + ")"});
    ui::Dialog::onDocumentComplete();
}

void CompleteDialog::notify(const std::string& event, const std::vector<std::string>& params) {
    if (event == "restartBrowser") {
        restartBrowser = !params.empty() && params[0] == "1";
        return;
    }
    if ((event == "cancel" || event == "next") && showRestartBrowser && !restartBrowser) {
        askRestart();
    }
    ui::Dialog::notify(event, params);
}

// A question that cannot be worded is not asked: the browser then restarts
// with the next reboot, as when the user declines.
void CompleteDialog::askRestart() {
    std::string caption, text;
    try {
        caption = dialogString(getLocale(), 3520);
        text = dialogString(getLocale(), 3521);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return;
    }
    restartBrowser = askUser(messageBox, caption, text, MB_OKCANCEL | MB_DEFBUTTON2 | MB_ICONWARNING) == IDOK;
}
