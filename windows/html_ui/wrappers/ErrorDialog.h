#pragma once

#include <string>

#include "Dialog.h"

// The page that reports a failed install or update with its error code.
class ErrorDialog : public ui::Dialog {
public:
    explicit ErrorDialog(const std::string& locale);

    void onDocumentComplete() override;

    // 1: the failed operation was an update; anything else: an install.
    int operation = 0;
    // The installer error code shown.
    int errorCode = 0;
};
