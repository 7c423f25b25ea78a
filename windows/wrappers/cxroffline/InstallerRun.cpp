#include "InstallerRun.h"

#include <commctrl.h>

#include "FileUtils.h"
#include "InstallStatus.h"
#include "LauncherCopies.h"
#include "Locale.h"
#include "Log.h"
#include "MessageBoxes.h"
#include "SysInfo.h"
#include "tstrings.h"

namespace {

const char* const kCarriedMajorVersion = "8";

} // namespace

InstallerRun::InstallerRun(HINSTANCE instance, const char* commandLine)
    : instance_(instance), commandLine_(commandLine ? commandLine : "") {}

void InstallerRun::logStart() {
    logit("Wrapper begin...");
    LOG_AT_NAMED(LOG_INFO, "WinMain",
                 "Running offline CXR wrapper with command line=<" << commandLine_ << ">");
}

void InstallerRun::secureDllSearchPath() {
    SetDllDirectoryA("");
}

void InstallerRun::clearPatchCacheImages() {
    for (int arch : {32, 64}) {
        FileUtils::deleteFile(FileUtils::joinPath(SysInfo::getPatchCache(arch), "baseimage8"));
    }
}

void InstallerRun::initCommonControls() {
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = 8;
    controls.dwICC = 0xFF;
    if (!InitCommonControlsEx(&controls)) {
        MessageBoxA(nullptr, "Could not initialize common controls!", "Failure", MB_ICONSTOP);
    }
}

void InstallerRun::prepareInstallRequest() {
    // A 32-bit build always carries the 32-bit package.
    package64Bit_ = SysInfo::isNative64BitProcess();
}

void InstallerRun::detectInstalledRuntimes() {
    // No detection yet: no installed products, so no family upgrade.
    familyUpgrade_ = false;
}

void InstallerRun::resetInstallStatus() {
    ResetInstallStatus();
}

void InstallerRun::initUsageValues() {
    country_ = "YY";
    installMethod_ = "cxof";
}

void InstallerRun::findOldRuntime() {
    if (oldRuntimeVersion_.empty()) {
        LOG_AT_NAMED(LOG_TRACE, "WinMain", "No Old CXR Version found");
    } else {
        LOG_AT_NAMED(LOG_TRACE, "WinMain", "Old CXR found: " << oldRuntimeVersion_);
    }
}

void InstallerRun::detectUpdateAgent() {
    installedAgentVersion_ = "XX";
}

InstallerRun::Stop InstallerRun::loadConfiguration() {
    LOG_AT_NAMED(LOG_TRACE, "WinMain", "Wrapper Load ConfigSettings...");
    // Without the configuration module every switch reads as absent.
    silent_ = false;
    oemUpdate_ = false;
    launchedFromCxs_ = false;
    showVerifyPage_ = true;
    return std::nullopt;
}

void InstallerRun::chooseLanguage() {
    try {
        langId_ = Locale::defaultLocale().langId();
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        langId_ = 1033;
    }
    if (langId_ != 1033) {
        request_.properties["TRANSFORMS"] = ":" + std::to_string(langId_);
    }
}

void InstallerRun::applyOverrides() {
    // COUNTRYOVERRIDE and INSTALLDIR come from the configuration.
}

InstallerRun::Stop InstallerRun::runTestSwitches() {
    return std::nullopt;
}

void InstallerRun::composeExtraCommandLine() {
    // MSI_CMDLINE and CMDLINE come from the configuration.
}

InstallerRun::Stop InstallerRun::refuseWhileInProgress() {
    if (launchedFromCxs_ || !InstallFlag::installationInProgress() ||
        !InstallFlag::installationInProgress()) {
        return std::nullopt;
    }
    if (!silent_) {
        showInProgressMessage(instance_, langId_);
    }
    logit("Another Calyx installation is in progress. You must complete that installation before "
          "you can run this installer.");
    return -1;
}

InstallerRun::Stop InstallerRun::checkReinstallCase() {
    logit("Wrapper, check for reinstall case..");
    // Nothing is detected yet, so nothing blocks the install.
    return std::nullopt;
}

void InstallerRun::disableVerifyPageOn64Bit() {
    if (SysInfo::isNative64BitProcess()) {
        LOG_AT_NAMED(LOG_INFO, "WinMain", "The installer is 64 bit, set bShowVerifyPage = FALSE");
        showVerifyPage_ = false;
    }
}

void InstallerRun::warnUnsupportedSystem() {
    if (SysInfo::getOsClass() > 1) {
        return;
    }
    if (!silent_) {
        showUnsupportedSystemMessage(instance_, langId_, kCarriedMajorVersion);
    }
    logit("This is an unsupported operationg system.");
}

InstallerRun::Stop InstallerRun::takeInstallFlag() {
    if (launchedFromCxs_ || installFlag_.take()) {
        return std::nullopt;
    }
    return -1;
}

bool InstallerRun::extractPackage() {
    const std::string path = GetProductPackagePath(package64Bit_);
    logit("Wrapper: Extract MSI ...");
    if (path.empty() || !ExtractProductPackage(instance_, path, silent_, package_)) {
        return false;
    }
    request_.packagePath = path;
    return true;
}

void InstallerRun::fetchOnlineOptions() {}

void InstallerRun::runWizardPages() {}

bool InstallerRun::clearInstallerStatus() {
    exitCode_ = ClearMSIStatus();
    if (exitCode_ == 0) {
        return true;
    }
    logit(tstrings::sformat("initial ClearMSIStatus() failed.  Return Code: %d, ErrorCode: %d",
                            exitCode_, static_cast<int>(GetLastError())).c_str());
    // A failure must not look like success to the deployment tool.
    exitCode_ = 1603;
    return false;
}

void InstallerRun::setInstallFolder() {
    if (!installDir_.empty()) {
        request_.properties["INSTALLDIR"] = installDir_;
    }
    LOG_AT_NAMED(LOG_INFO, "WinMain", "MSI command line: " << request_.commandLine());
}

bool InstallerRun::exportConfiguration() {
    return true;
}

void InstallerRun::chooseSecurityText() {
    if (familyUpgrade_) {
        logit("Upgrade install and Security level >2, show the Med->High Security text");
        showMedHighText_ = true;
    }
}

void InstallerRun::executePackage() {
    logit("Wrapper: Execute MSI ...");
    if (silent_) {
        MarkSilentInstall();
    }
    exitCode_ = ExecCommand(request_);
}

void InstallerRun::removeLauncherCopies() {
    RemoveLauncherCopies(LauncherCopyFolders());
}

void InstallerRun::reportOutcome() {
    if (exitCode_ != 0) {
        DWORD status = 0;
        DWORD extended = 0;
        const LONG get = GetMSIStatus(&status, &extended);
        if (get != 0) {
            logit(tstrings::sformat("GetMSIStatus() failed.  Return Code: %d, ErrorCode: %d",
                                    static_cast<int>(get), static_cast<int>(GetLastError())).c_str());
        }
        const LONG clear = ClearMSIStatus();
        if (clear != 0) {
            logit(tstrings::sformat("ClearMSIStatus() after get failed.  Return Code: %d, ErrorCode: %d",
                                    static_cast<int>(clear), static_cast<int>(GetLastError())).c_str());
        }
        msiStatus_ = status;
        msiExtendedStatus_ = extended;
    }
}

void InstallerRun::reportEscapedException(const std::exception* e) {
    if (e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"), *e);
    } else {
        reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"));
    }
}

int InstallerRun::commonEnd() {
    // Each piece of clean-up runs even when another one fails.
    const auto guarded = [](void (*step)(InstallerRun&), InstallerRun& run) {
        try {
            step(run);
        } catch (const std::exception& e) {
            reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"), e);
        }
    };
    guarded([](InstallerRun&) { EndSilentInstall(); }, *this);
    guarded([](InstallerRun&) { ResetInstallStatus(); }, *this);
    guarded([](InstallerRun&) { SetPolicyValue("", "VisitorId"); }, *this);
    guarded([](InstallerRun&) { SetPolicyValue("", "Method"); }, *this);
    guarded([](InstallerRun& run) { run.installFlag_.release(); }, *this);
    guarded([](InstallerRun& run) {
        run.package_.release();
        RemoveExtractionFolders(run.package64Bit_);
    }, *this);
    guarded([](InstallerRun& run) {
        if (!run.oemUpdate_) EnsureSchedulerEntry();
    }, *this);
    LOG_AT_NAMED(LOG_INFO, "WinMain", "Wrapper exit code: " << exitCode_);
    return exitCode_;
}
