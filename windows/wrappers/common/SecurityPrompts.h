#pragma once

#include <string>

#include "InstalledCalyx.h"

class CompleteDialog;

// The final pages after an install with pages: the plug-in notice and the
// offer to restore the security prompts when the runtime's deployment
// library asks for them, then the complete page, which always shows; then
// what the pages chose (restore or reset of the decisions, browser restart,
// verification page). method is the install method ("cxof", "cxchrome",
// ...); locale the pages' language code. Failures are logged, not raised.
void FinishUIInstallationWithSecurityPrompts(const InstalledCalyx& runtime, bool verifyRequested,
                                             bool showSecurityNote, const std::string& method,
                                             const std::string& locale);

// After the complete page: restarts the flagged browsers when the user kept
// the restart box ticked, else clears their flags; then opens the
// verification page the way method asks for, when the page showed its note.
void ProcessCompleteDialog(const CompleteDialog& complete, const std::string& method);
