#include "ChangeFolderDialog.h"

#include "DialogText.h"
#include "Log.h"
#include "ScriptText.h"

ChangeFolderDialog::ChangeFolderDialog(const std::string& locale, FolderPicker picker)
    : ui::Dialog("change_folder.html", locale), picker(picker) {}

std::string ChangeFolderDialog::folderCall() const {
    return "setFolder(" + jsString(folder) + ");";
}

void ChangeFolderDialog::onDocumentComplete() {
    runPageCalls({flagCall("showBackButton", showBackButton), folderCall()});
    ui::Dialog::onDocumentComplete();
}

void ChangeFolderDialog::notify(const std::string& event, const std::vector<std::string>& params) {
    if (event != "browse") {
        ui::Dialog::notify(event, params);
    } else if (browseForFolder()) {
        execJScript(folderCall());
    }
}

bool ChangeFolderDialog::browseForFolder() {
    std::string title = "select";
    try {
        title = dialogString(getLocale(), 3510);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
    return picker(windowHandle(), title, folder);
}
