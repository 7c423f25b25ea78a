#pragma once

#include <string>
#include <vector>

#include "Dialog.h"

// The first wizard page: licence notes and the choice to pick the folder.
class WelcomeDialog : public ui::Dialog {
public:
    explicit WelcomeDialog(const std::string& locale);

    void onDocumentComplete() override;
    // "changeFolder" with "1" or "0" ticks or clears the choice.
    void notify(const std::string& event, const std::vector<std::string>& params) override;

    // The check box for choosing the folder is visible.
    bool showChangeFolder = true;
    // The check box is ticked: the folder page comes next.
    bool changeFolder = false;
};
