#include <windows.h>

#include "InstallerRun.h"

// The fixed sequence of one installation, from command line to exit code.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    InstallerRun::secureDllSearchPath();
    InstallerRun run(instance, commandLine);
    try {
        run.logStart();
        if (const auto stop = run.validateOnly()) return *stop;
        run.readAdminSwitches();
        if (const auto stop = run.showUsage()) return *stop;
        if (const auto stop = run.extractOnly()) return *stop;
        if (const auto stop = run.uninstallOnly()) return *stop;
        run.clearPatchCacheImages();
        run.gatherFacts();
        run.resetInstallStatus();
        run.initUsageValues();
        if (const auto stop = run.loadConfiguration()) return *stop;
        run.initCommonControls();
        run.chooseLanguage();
        run.applyOverrides();
        if (const auto stop = run.runTestSwitches()) return *stop;
        run.composeExtraCommandLine();
        if (const auto stop = run.refuseWhileInProgress()) return *stop;
        if (const auto stop = run.checkReinstallCase()) return *stop;
        run.disableVerifyPageOn64Bit();
        run.warnUnsupportedSystem();
        if (const auto stop = run.takeInstallFlag()) return *stop;
        if (run.extractPackage()) {
            run.chooseTransform();
            run.fetchOnlineOptions();
            if (const auto stop = run.runWizardPages()) return *stop;
            if (run.clearInstallerStatus()) {
                run.setInstallFolder();
                if (run.exportConfiguration()) {
                    run.chooseSecurityText();
                    run.executePackage();
                    run.removeLauncherCopies();
                    run.reportOutcome();
                    run.sendUsagePing();
                }
            }
        }
    } catch (const std::exception& e) {
        run.reportEscapedException(&e);
    } catch (...) {
        run.reportEscapedException(nullptr);
    }
    return run.commonEnd();
}
