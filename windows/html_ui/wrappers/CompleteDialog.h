#pragma once

#include <string>
#include <vector>

#include "Dialog.h"
#include "DialogText.h"

// The setup-complete page, with the optional security note, browser
// restart choice and verification note.
class CompleteDialog : public ui::Dialog {
public:
    explicit CompleteDialog(const std::string& locale, MessageBoxFunction messageBox = MessageBoxW);

    void onDocumentComplete() override;
    // "restartBrowser" with "1" or "0" ticks or clears the restart box;
    // "cancel" and "next" first ask whether to restart the browser when the
    // box is shown but clear.
    void notify(const std::string& event, const std::vector<std::string>& params) override;

    bool showBackButton = true;
    bool showSecurity = false;
    bool showRestartBrowser = false;
    bool restartBrowser = true;
    bool showVerify = false;
    // Sponsor code for the page; the installer leaves it empty.
    std::string sponsor;

private:
    void askRestart();

    MessageBoxFunction messageBox;
};
