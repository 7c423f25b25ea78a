#pragma once

#include <string>
#include <vector>

#include "Dialog.h"
#include "FolderPicker.h"

// The page that shows the installation folder and lets the user pick another.
class ChangeFolderDialog : public ui::Dialog {
public:
    explicit ChangeFolderDialog(const std::string& locale, FolderPicker picker = pickFolder);

    void onDocumentComplete() override;
    // "browse" asks for a folder and shows the one chosen.
    void notify(const std::string& event, const std::vector<std::string>& params) override;
    // On the UI thread: true when a folder was chosen and put into folder.
    bool browseForFolder();

    bool showBackButton = true;
    // The destination folder (UTF-8).
    std::string folder;

private:
    std::string folderCall() const;

    FolderPicker picker;
};
