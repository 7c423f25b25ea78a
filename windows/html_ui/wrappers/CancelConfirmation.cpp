#include "CancelConfirmation.h"

#include "BuildInfo.h"
#include "Log.h"
#include "VersionText.h"

CancelConfirmation::CancelConfirmation(const std::string& locale, MessageBoxFunction messageBox)
    : locale(locale), messageBox(messageBox) {}

bool CancelConfirmation::show() {
    try {
        const std::string version = withoutBuild(CalyxVersion(CX_RUNTIME_VERSION)).toString();
        const std::string text = withValue(dialogString(locale, 3501), version);
        const std::string caption = dialogString(locale, 3500);
        return askUser(messageBox, caption, text, MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING) == IDYES;
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("CancelConfirmation::show"), e);
        return true;
    }
}
