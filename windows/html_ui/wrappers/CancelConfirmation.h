#pragma once

#include <string>

#include "Dialog.h"
#include "DialogText.h"

// "Are you sure you want to cancel?", asked before the welcome or folder
// page closes at the user's request.
class CancelConfirmation : public ui::Dialog::CancelHandler {
public:
    // locale: the pages' locale code, for the question's language.
    explicit CancelConfirmation(const std::string& locale, MessageBoxFunction messageBox = MessageBoxW);

    // true when the user confirms cancelling, and when the question cannot
    // be asked (logged): a broken box must not trap the user in the wizard.
    bool show() override;

private:
    std::string locale;
    MessageBoxFunction messageBox;
};
