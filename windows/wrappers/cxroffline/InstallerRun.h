#pragma once

#include <windows.h>

#include <memory>
#include <vector>
#include <optional>
#include <string>

#include "AdminSwitches.h"
#include "CalyxScrubPingData.h"
#include "CleanupList.h"
#include "InstallCallback.h"
#include "InstallConfigData.h"
#include "InstallFlag.h"
#include "InstalledCalyx.h"
#include "Outcome.h"
#include "ReinstallCase.h"
#include "RunFacts.h"
#include "RunPlan.h"
#include "WrapperOffline.h"

// One run of the offline installer: the state WinMain keeps and the steps
// it takes, in order. A step that may end the run answers the exit code to
// return; std::nullopt means "go on".
class ProgressController;
class ProgressDialog;

class InstallerRun {
public:
    typedef std::optional<int> Stop;

    InstallerRun(HINSTANCE instance, const char* commandLine);
    // Hands what the run learned to its outcome record, the last one logged.
    ~InstallerRun();

    // Before anything else: every later library load, the delay-loaded
    // system libraries included, searches System32 only.
    static void secureDllSearchPath(); // 2
    void logStart();                 // 1
    // "/validate": reports the configuration and stops before anything on
    // the machine changes.
    Stop validateOnly();
    // The words every installer knows (quiet, passive, no restart, the
    // exit-code style and the actions below), and whether a user can see a
    // page at all.
    void readAdminSwitches();
    // "/?" or "/help": the usage on standard output and in the log (in a box
    // for a user without a console); nothing changes.
    Stop showUsage();
    // "/extract <folder>": the carried packages written there; nothing is
    // installed.
    Stop extractOnly();
    // "/uninstall": the carried build removed; nothing is installed.
    Stop uninstallOnly();
    void clearPatchCacheImages();    // 3
    void gatherFacts();              // 7, 10, 11
    void resetInstallStatus();       // 8
    void initUsageValues();          // 9
    Stop loadConfiguration();        // 12, 13
    void initCommonControls();       // 4, once it is known whether pages show
    void chooseLanguage();           // 14
    void applyOverrides();           // 15
    Stop runTestSwitches();          // 16
    void composeExtraCommandLine();  // 17
    Stop refuseWhileInProgress();    // 18
    Stop checkReinstallCase();       // 19
    void disableVerifyPageOn64Bit(); // 20
    void warnUnsupportedSystem();    // 21
    Stop takeInstallFlag();          // 22
    bool extractPackage();           // 23; false: go to the common end
    void chooseTransform();          // 14, once the package is there
    void fetchOnlineOptions();       // 24
    Stop runWizardPages();           // 25; a cancel ends the run here
    bool clearInstallerStatus();     // 26; false: go to the common end
    void setInstallFolder();         // 27
    bool exportConfiguration();      // 28; false: go to the common end
    void chooseSecurityText();       // 29
    void executePackage();           // 30
    void removeLauncherCopies();     // 31
    void reportOutcome();            // 32
    void sendUsagePing();            // 32, after the agent install
    int commonEnd();                 // 33

    // The runtime the package just installed, for the final steps.
    void describeInstalledRuntime();
    void runPackage();
    void rerunIfPackageAsks();
    // A silent run asked to remove out-of-date runtimes; the record is kept
    // for the usage ping.
    void removeOutOfDateSilently();
    // After an install with pages: the removal pages (unless the
    // development kit started the run), then the final pages.
    void finishWithPages();

    void attachProgress(const ProgressController* controller);

    // Records an exception that escaped the sequence.
    void reportEscapedException(const std::exception* e);

    bool silent() const { return !plan_.pages; }
    int exitCode() const { return exitCode_; }

private:
    // Removes the out-of-date runtimes, silently or with pages; the record
    // is kept for the usage ping.
    void removeOutOfDate(bool silent);

    // No wizard page could be shown: asks whether to install without them.
    Stop offerInstallWithoutPages();

    // Ends the run early for reason, with the code it fixes or with code.
    Stop stop(Outcome::Reason reason);
    Stop stop(int code, Outcome::Reason reason);
    // The run's code in the style the caller asked for; the outcome record
    // carries it.
    int returnedCode();

    // After a successful install: the carried update agent, its result kept
    // for the usage report.
    void installUpdateAgent();

    // From the moment this run holds the install flag (or its starter
    // does), the common end clears what every run shares.
    void ownSharedState();

    // The end of a run the user cancelled on a wizard page: the install
    // flag and the extraction folders go, nothing else ran to undo.
    int endCancelled();
    std::string pageLocale() const;

    // First, so that it is written after everything else has ended.
    Outcome outcome_;
    HINSTANCE instance_;
    std::string commandLine_;
    int exitCode_ = 1;
    std::unique_ptr<InstallConfigData> config_;
    RunFacts facts_;
    AdminSwitches admin_;
    RunChoices choices_;
    RunPlan plan_;
    bool oemUpdate_ = false;
    unsigned langId_ = 1033;
    std::string installDir_;
    int agentResult_ = -99;
    ExtractedPackage package_;
    std::string offlineOptions_;
    PromoImage promoImage_;  // empty path: no image for the progress page
    std::unique_ptr<InstalledCalyx> installedRuntime_;
    std::unique_ptr<cxscrub::CalyxScrubPingData> removal_;  // null: no removal ran
    InstallCallback installCallback_;
    msi::InstallData request_;
    InstallFlag installFlag_;
    DWORD msiStatus_ = 0;
    DWORD msiExtendedStatus_ = 0;
    // What the common end undoes, registered as it is acquired.
    CleanupList cleanup_{"WinMain"};
};
