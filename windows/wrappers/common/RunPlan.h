#pragma once

#include <optional>

// How the install goes, decided from the configuration and what the machine
// held before anything changed.
struct RunChoices {
    bool silent = false;
    bool passive = false;          // the progress page only, no questions
    bool launchedFromCxs = false;  // the development kit's installer started the run
    bool noVerify = false;         // NO_VERIFY
    bool removeOutOfDate = false;  // REMOVEOUTOFDATECXRS
    bool oemUpdate = false;
    std::optional<int> securityLevel;  // WEB_CALYX_SECURITY_LEVEL
    bool process64Bit = false;
    bool familyUpgrade = false;
};

enum class SecurityText { Default, Medium, MediumToHighUpgrade };
enum class OutOfDateRemoval { None, Silent, WithPages };

struct RunPlan {
    bool pages = true;               // false: nothing asks, as in a silent run
    bool progressPage = false;       // shown even without the other pages
    bool welcomePage = true;         // false: the wizard opens on the folder page
    bool takesFlag = true;           // false: the starting installer holds it
    bool verifyPageRequested = true; // what the test pages show
    bool showVerifyPage = true;      // what the final pages show
    SecurityText securityText = SecurityText::Default;
    OutOfDateRemoval removal = OutOfDateRemoval::WithPages;  // after a successful install
    bool schedulerEntry = true;      // the common end keeps the agent's start-up entry
    bool fallbackWindow = false;     // no page could be shown: a native bar and outcome box
};

RunPlan planRun(const RunChoices& choices);

// The user agreed to install although no page can be shown: nothing asks,
// as in a silent run, and the install shows a native bar and its outcome.
RunPlan planWithoutPages(RunChoices choices);

// How the run meets its user, for the outcome record: "pages", "passive",
// "silent" or "fallback".
const char* uiWord(const RunPlan& plan);
