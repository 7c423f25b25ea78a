#include "ErrorDialog.h"

#include "ScriptText.h"
#include "tstrings.h"

ErrorDialog::ErrorDialog(const std::string& locale) : ui::Dialog("error.html", locale) {}

void ErrorDialog::onDocumentComplete() {
    runPageCalls({flagCall("setUpdate", operation == 1), tstrings::sformat("setErrorCode(%d)", errorCode)});
    ui::Dialog::onDocumentComplete();
}
