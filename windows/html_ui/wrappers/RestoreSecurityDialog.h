#pragma once

#include <string>
#include <vector>

#include "Dialog.h"

// The offer to restore the security prompts the user had dismissed.
class RestoreSecurityDialog : public ui::Dialog {
public:
    explicit RestoreSecurityDialog(const std::string& locale);

    void onDocumentComplete() override;
    // "restoreSecurity" with "1" or "0" ticks or clears the restore box.
    void notify(const std::string& event, const std::vector<std::string>& params) override;

    bool showBackButton = true;
    // The restore box is ticked.
    bool restoreSecurity = true;
};
