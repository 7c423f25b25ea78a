#include "SecurityPrompts.h"

#include <vector>

#include "Browsers.h"
#include "CompleteDialog.h"
#include "DeployLibLoader.h"
#include "InstallStatus.h"
#include "Log.h"
#include "NetUtils.h"
#include "PluginDisabledDialog.h"
#include "RestoreSecurityDialog.h"
#include "SysInfo.h"
#include "WrapperUtils.h"
#include "tstrings.h"

namespace {

const char* const kLoaderError = "DeployLibLoaderError in DeployLibLoader constructor ";
const size_t kFlagCapacity = 512;

struct DeployAnswers {
    bool pluginDisabled = false;
    bool restoreOffered = false;
};

// What the runtime's deployment library says; both false when it cannot
// be asked, which only hides the plug-in and restore pages.
DeployAnswers askDeployLibrary(const std::string& home) {
    DeployAnswers answers;
    if (home.empty()) {
        LOG_ERROR("Empty Calyx home");
        return answers;
    }
    try {
        DeployLibLoader library(home);
        answers.pluginDisabled = library.isCalyxPluginDisabled();
        answers.restoreOffered = library.isPreviousSecurityDecisionsExist();
    } catch (const std::exception& e) {
        LOG_ERROR(kLoaderError << e.what());
        answers = DeployAnswers();
    }
    return answers;
}

bool restartFlagSet(const char* name) {
    std::string value;
    return ReadCalyxwareValue(name, value, kFlagCapacity);
}

void InitCompleteDialog(CompleteDialog& complete, const DeployAnswers& answers, bool verifyRequested,
                        bool showSecurityNote) {
    complete.showBackButton = answers.pluginDisabled || answers.restoreOffered;
    complete.showSecurity = showSecurityNote;
    bool verify = verifyRequested && !answers.pluginDisabled;
    if (!SysInfo::isNative64BitProcess()) {
        const bool firefox = restartFlagSet("FIREFOXRESTART");
        const bool ie = restartFlagSet("IERESTART");
        if (firefox) LOG_INFO("The Firefox browser restart flag is set");
        if (ie) LOG_INFO("The IE browser restart flag is set");
        if (firefox || ie) {
            LOG_INFO("The browser restart flag is set for the final dialog");
            complete.showRestartBrowser = true;
            verify = false;
        }
    } else {
        LOG_INFO("The installer is 64 bit online, set bShowVerifyPage = FALSE");
        verify = false;
    }
    if (!NetUtils::isConnected()) {
        LOG_INFO("Internet Connection not available");
        verify = false;
    }
    if (verify) LOG_INFO("Verify page will be displayed, so show text");
    complete.showVerify = verify;
}

// Next moves on, back moves back; past either end, or on any other result,
// the sequence ends.
void ShowDialogs(const std::vector<ui::Dialog*>& panes) {
    for (int index = 0; index >= 0 && index < static_cast<int>(panes.size());) {
        LOG_INFO(tstrings::sformat("ShowDialogs: pane index is %d", index));
        const int result = panes[index]->run();
        if (result == ui::DialogNext) {
            ++index;
        } else if (result == ui::DialogBack) {
            --index;
        } else {
            LOG_INFO("Cancel is pushed, exit ShowDialogs");
            break;
        }
    }
    LOG_INFO("The Setup Complete dialog is closed");
}

void ProcessRestoreSecurityDialog(const RestoreSecurityDialog& restore, const std::string& home) {
    try {
        DeployLibLoader library(home);
        if (restore.restoreSecurity) {
            LOG_INFO("Checkbox for restoreSecurityPrompts is selected. Calling deploy to doClearUserPreviousDecisions...");
            library.doClearUserPreviousDecisions();
        } else {
            LOG_INFO("Checkbox for restoreSecurityPrompts is NOT selected. Calling deploy to "
                     "doResetUserPreviousDecisions...");
            library.doResetUserPreviousDecisions();
        }
    } catch (const std::exception& e) {
        LOG_ERROR(kLoaderError << e.what());
    }
}

} // namespace

void ProcessCompleteDialog(const CompleteDialog& complete, const std::string& method) {
    if (complete.showRestartBrowser && complete.restartBrowser) {
        LOG_INFO("The installer will restart browser");
        BrowserRestart();
    } else {
        SetCalyxwareKey("IERESTART", "");
        SetCalyxwareKey("FIREFOXRESTART", "");
    }
    if (!complete.showVerify) return;
    const std::string kind = tstrings::toLower(method);
    if (kind == "cxchrome") {
        LaunchChrome();
    } else if (kind == "cxpi") {
        LaunchIE();
    } else if (kind == "cxpk") {
        LaunchFirefox();
    } else {
        browsers::launchDefault(VerifyUrl());
    }
}

void FinishUIInstallationWithSecurityPrompts(const InstalledCalyx& runtime, bool verifyRequested,
                                             bool showSecurityNote, const std::string& method,
                                             const std::string& locale) {
    const DeployAnswers answers = askDeployLibrary(runtime.homeDir());
    PluginDisabledDialog plugin(locale);
    RestoreSecurityDialog restore(locale);
    restore.restoreSecurity = true;
    restore.showBackButton = answers.pluginDisabled;
    CompleteDialog complete(locale);
    InitCompleteDialog(complete, answers, verifyRequested, showSecurityNote);
    std::vector<ui::Dialog*> panes;
    if (answers.pluginDisabled) {
        LOG_INFO("Adding CalyxPlugin pane. It will be shown.");
        panes.push_back(&plugin);
    }
    if (answers.restoreOffered) {
        LOG_INFO("Adding  RestoreSecurity pane. It will be shown.");
        panes.push_back(&restore);
    }
    panes.push_back(&complete);
    LOG_INFO("The installer will display the Setup Complete dialog");
    try {
        ShowDialogs(panes);
    } catch (const std::exception& e) {
        // The panes' answers are only their defaults: acting on them would
        // clear security decisions and restart browsers nobody chose to.
        REPORT_CAUGHT(e);
        LOG_WARNING("The final pages could not be shown; the security settings stay as they are");
        return;
    }
    if (answers.restoreOffered) ProcessRestoreSecurityDialog(restore, runtime.homeDir());
    ProcessCompleteDialog(complete, method);
}
