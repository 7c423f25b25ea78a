#include "RunPlan.h"

RunPlan planRun(const RunChoices& choices) {
    RunPlan plan;
    plan.pages = !choices.silent && !choices.passive;
    plan.progressPage = choices.passive && !choices.silent;
    // The development kit's installer has greeted the user and holds the flag.
    plan.welcomePage = !choices.launchedFromCxs;
    plan.takesFlag = !choices.launchedFromCxs;
    plan.verifyPageRequested = !choices.noVerify;
    // The 64-bit runtime has no browser plug-in to verify.
    plan.showVerifyPage = plan.verifyPageRequested && !choices.process64Bit;
    if (choices.securityLevel == 2) {
        plan.securityText = SecurityText::Medium;
    } else if (choices.familyUpgrade) {
        plan.securityText = SecurityText::MediumToHighUpgrade;
    }
    if (choices.launchedFromCxs) {
        plan.removal = OutOfDateRemoval::None;
    } else if (!plan.pages) {
        plan.removal = choices.removeOutOfDate ? OutOfDateRemoval::Silent : OutOfDateRemoval::None;
    }
    plan.schedulerEntry = !choices.oemUpdate;
    return plan;
}

RunPlan planWithoutPages(RunChoices choices) {
    choices.silent = true;
    RunPlan plan = planRun(choices);
    plan.fallbackWindow = true;
    return plan;
}

const char* uiWord(const RunPlan& plan) {
    if (plan.fallbackWindow) return "fallback";
    if (plan.pages) return "pages";
    return plan.progressPage ? "passive" : "silent";
}
