#include "InstallerRun.h"

#include <commctrl.h>

#include <algorithm>

#include "AnsiText.h"
#include "BestEffort.h"
#include "BuildInfo.h"
#include "CalyxEnvironment.h"
#include "CalyxScrubSequence.h"
#include "CarriedUninstall.h"
#include "ConsoleOutput.h"
#include "DryRun.h"
#include "ExitCodes.h"
#include "FileUtils.h"
#include "WinErrorHandling.h"
#include "ReinstallCase.h"
#include "SecurityPrompts.h"
#include "ServiceBusyWait.h"
#include "InstallStatus.h"
#include "LauncherCopies.h"
#include "MsiDatabase.h"
#include "MsiError.h"
#include "Locale.h"
#include "Log.h"
#include "MessageBoxes.h"
#include "PackageExport.h"
#include "ProgressController.h"
#include "ProgressDialog.h"
#include "ProgressWindow.h"
#include "SysInfo.h"
#include "UpdateConf.h"
#include "UsageText.h"
#include "UsageValues.h"
#include "WizardPages.h"
#include "tstrings.h"

namespace {

const char* const kCarriedMajorVersion = "8";

// The common end's steps, in the order it takes them.
enum EndStep {
    RestoreConfiguration,
    SilentMarker,
    StatusValue,
    VisitorIdValue,
    MethodValue,
    FlagRelease,
    ImageRelease,
    ExtractionFolders,
    SchedulerEntry,
};

} // namespace

InstallerRun::InstallerRun(HINSTANCE instance, const char* commandLine)
    : outcome_(CX_RUNTIME_VERSION), instance_(instance),
      commandLine_(commandLine ? commandLine : "") {
    cleanup_.add(FlagRelease, [this] { installFlag_.release(); });
    cleanup_.add(ImageRelease, [this] { promoImage_.release(); });
    cleanup_.add(SchedulerEntry, [this] {
        if (plan_.schedulerEntry) EnsureSchedulerEntry();
    });
}

InstallerRun::~InstallerRun() {
    returnedCode();
    outcome_.language(langId_);
    outcome_.transform(request_.properties.count("TRANSFORMS") != 0);
    if (installedRuntime_) outcome_.productCode(installedRuntime_->productCode());
    outcome_.agentResult(agentResult_);
    outcome_.restartRequired(msi::restartRequired());
}

InstallerRun::Stop InstallerRun::stop(Outcome::Reason reason) {
    return stop(calyxExitCode(reason), reason);
}

InstallerRun::Stop InstallerRun::stop(int code, Outcome::Reason reason) {
    exitCode_ = code;
    outcome_.because(reason);
    return returnedCode();
}

int InstallerRun::returnedCode() {
    outcome_.exitCode(exitCode_);
    // Read from the run's own code, before the style may change it.
    outcome_.because(outcome_.reason());
    const Restart restart = msi::restartInitiated()  ? Restart::Started
                            : msi::restartRequired() ? Restart::Required
                                                     : Restart::None;
    const int code = exitCodeFor(admin_.installerExitCodes ? ExitCodeStyle::Installer
                                                           : ExitCodeStyle::Calyx,
                                 outcome_.reason(), exitCode_, restart);
    outcome_.exitCode(code);
    return code;
}

InstallerRun::Stop InstallerRun::showUsage() {
    if (!admin_.help) return std::nullopt;
    CarriedBuild build;
    build.version = CX_RUNTIME_VERSION;
    build.msiVersion = CX_RUNTIME_MSI_VERSION;
    build.productCode = CX_RUNTIME_PRODUCT_CODE;
    build.upgradeCode = CX_RUNTIME_UPGRADE_CODE;
    build.program = "cxroffline.exe";
    build.package64Bit = SysInfo::isNative64BitProcess();
    const std::string text = usageText(build);
    LOG_INFO("Usage (/?):\n" << text);
    if (!ConsoleOutput::write(text) && !admin_.silent) showUsageMessage(text);
    return stop(Outcome::Reason::HELP);
}

InstallerRun::Stop InstallerRun::extractOnly() {
    if (!admin_.extractTo) return std::nullopt;
    try {
        const std::string text = PackageExport::report(
            PackageExport::run(instance_, *admin_.extractTo, SysInfo::isNative64BitProcess()));
        LOG_INFO(text);
        ConsoleOutput::write(text);
        return stop(Outcome::Reason::EXTRACTED);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        ConsoleOutput::write(std::string(e.what()) + "\n");
        return stop(Outcome::Reason::EXTRACTION_FAILED);
    }
}

InstallerRun::Stop InstallerRun::uninstallOnly() {
    if (!admin_.uninstall) return std::nullopt;
    outcome_.productCode(CX_RUNTIME_PRODUCT_CODE);
    const int code = UninstallCarriedBuild(CX_RUNTIME_PRODUCT_CODE);
    return stop(code, code == 0 ? Outcome::Reason::UNINSTALLED : Outcome::Reason::PACKAGE_FAILED);
}

InstallerRun::Stop InstallerRun::validateOnly() {
    std::vector<std::string> args;
    if (!InstallConfigData::splitCommandLine(GetCommandLineW(), args) || !DryRun::requested(args)) {
        return std::nullopt;
    }
    return stop(DryRun::run(instance_, args), Outcome::Reason::VALIDATE);
}

void InstallerRun::logStart() {
    logit("Wrapper begin...");
    LOG_AT_NAMED(LOG_INFO, "WinMain",
                 "Running offline CXR wrapper with command line=<" << commandLine_ << ">");
}

void InstallerRun::secureDllSearchPath() {
    const BOOL restricted = SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const DWORD error = GetLastError();
    SetDllDirectoryA("");
    if (!restricted) {
        LOG_WARNING(systemFailure("SetDefaultDllDirectories", error));
    }
}

void InstallerRun::clearPatchCacheImages() {
    // A locked image stays; it must not end the run before configuration.
    for (int arch : {32, 64}) {
        bestEffort("InstallerRun::clearPatchCacheImages", [arch] {
            FileUtils::deleteFile(FileUtils::joinPath(SysInfo::getPatchCache(arch), "baseimage8"));
        });
    }
}

void InstallerRun::initCommonControls() {
    // For the pages only: a silent run shows none, and its failure box would
    // wait for a user who is not there.
    if (!plan_.pages && !plan_.progressPage) return;
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = 8;
    controls.dwICC = 0xFF;
    if (!InitCommonControlsEx(&controls)) {
        MessageBoxA(nullptr, "Could not initialize common controls!", "Failure", MB_ICONSTOP);
    }
}

void InstallerRun::gatherFacts() {
    facts_ = RunFacts::gather();
}

void InstallerRun::resetInstallStatus() {
    ResetInstallStatus();
}

void InstallerRun::initUsageValues() {
    UsageValues::current() = UsageValues();
}

void InstallerRun::readAdminSwitches() {
    std::vector<std::string> args;
    if (!InstallConfigData::splitCommandLine(GetCommandLineW(), args)) return;
    admin_ = ::readAdminSwitches(args, SysInfo::hasInteractiveDesktop());
    if (admin_.noDesktop) {
        LOG_WARNING("No user can see this run's pages (no interactive desktop); it runs silently");
    }
}

InstallerRun::Stop InstallerRun::loadConfiguration() {
    LOG_AT_NAMED(LOG_TRACE, "WinMain", "Wrapper Load ConfigSettings...");
    int loaded = -1;
    try {
        config_.reset(new InstallConfigData(instance_));
        // An unreadable command line is reported by the loader itself.
        loaded = admin_.configArgs.empty() ? config_->LoadConfigSettings(GetCommandLineW())
                                           : config_->LoadConfigSettings(admin_.configArgs);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
    if (loaded != 0) {
        logit("Error occurred while loading configuration settings. Exiting installer.");
        return stop(Outcome::Reason::CONFIG_ERROR);
    }
    oemUpdate_ = config_->isEnabled("OEMUPDATE");
    RunChoices& choices = choices_;
    // The passive words load as "/s" so that nothing asks; the progress page still shows.
    choices.silent = config_->isSilent() && !admin_.passive;
    choices.passive = admin_.passive;
    choices.launchedFromCxs = config_->isEnabled("LAUNCHEDFROMCXS");
    choices.noVerify = config_->isEnabled("NO_VERIFY");
    choices.removeOutOfDate = config_->isEnabled("REMOVEOUTOFDATECXRS");
    choices.oemUpdate = oemUpdate_;
    if (config_->hasKey("WEB_CALYX_SECURITY_LEVEL")) {
        choices.securityLevel = config_->getInt("WEB_CALYX_SECURITY_LEVEL");
    }
    choices.process64Bit = SysInfo::isNative64BitProcess();
    choices.familyUpgrade = facts_.familyUpgrade;
    plan_ = planRun(choices);
    outcome_.ui(uiWord(plan_));
    if (!plan_.takesFlag) ownSharedState();
    return std::nullopt;
}

void InstallerRun::chooseLanguage() {
    try {
        langId_ = Locale::defaultLocale().langId();
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        langId_ = 1033;
    }
    if (config_->hasKey("/lang")) {
        try {
            langId_ = Locale::fromLangId(static_cast<unsigned>(config_->getInt("/lang"))).langId();
        } catch (const std::exception& e) {
            REPORT_CAUGHT(e);
        }
    }
    config_->setLanguage(langId_);
}

void InstallerRun::chooseTransform() {
    if (langId_ == 1033) {
        return;
    }
    const std::string name = std::to_string(langId_);
    // Windows refuses the whole install when the named transform is missing.
    bool held = false;
    try {
        held = msi::Database(request_.packagePath).hasStorage(name);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
    if (held) {
        request_.properties["TRANSFORMS"] = ":" + name;
    } else {
        LOG_AT_NAMED(LOG_INFO, "WinMain", "No embedded transform for "
                                              << name << "; installing the package's own language");
    }
}

void InstallerRun::applyOverrides() {
    if (config_->hasKey("COUNTRYOVERRIDE")) {
        SetPolicyValue(config_->getString("COUNTRYOVERRIDE"), "Country");
    }
    // A valid path is shorter than 260 characters, well within installDir_.
    if (config_->hasKey("INSTALLDIR")) {
        installDir_ = config_->getString("INSTALLDIR");
    }
}

InstallerRun::Stop InstallerRun::runTestSwitches() {
    // A page switch never installs: it shows its page and ends. A silent
    // run shows no page: it would wait for a user who is not there.
    for (const char* name : {"TEST_FINAL_DIALOG", "TEST_PROGRESS_DIALOG", "TEST_WELCOME_DIALOG",
                             "TEST_CHANGE_DIALOG"}) {
        if (!config_->isEnabled(name)) continue;
        if (!plan_.pages) {
            logit(tstrings::sformat("Test switch %s: no page in a silent run", name).c_str());
            return stop(Outcome::Reason::TEST_SWITCH);
        }
        try {
            ShowTestPage(name, pageLocale(), plan_.verifyPageRequested,
                         GetDefaultInstallFolder(facts_.package64Bit));
        } catch (const std::exception& e) {
            reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"), e);
        }
        return stop(Outcome::Reason::TEST_SWITCH);
    }
    if (!config_->hasKey("TEST_CONFIG_FILE_ERRORS")) {
        return std::nullopt;
    }
    logit("TEST_CONFIG_FILE_ERRORS enabled.");
    const int code = config_->getInt("TEST_CONFIG_FILE_ERRORS");
    logit(("Show error " + std::to_string(code)).c_str());
    config_->ShowConfigError(code, "<path_to_config_file>", !plan_.pages);
    return stop(Outcome::Reason::TEST_SWITCH);
}

void InstallerRun::composeExtraCommandLine() {
    std::string extra = config_->hasKey("MSI_CMDLINE") ? config_->getString("MSI_CMDLINE") : "";
    if (config_->hasKey("CMDLINE")) {
        extra += " " + config_->getString("CMDLINE");
    }
    // The service takes property assignments only: a switch there fails the
    // whole install.
    std::vector<std::string> leftOut;
    extra = msi::propertyAssignments(extra, leftOut);
    for (const std::string& word : leftOut) {
        LOG_WARNING("Forwarded command-line word " << word << " is not NAME=value; left out");
    }
    // The service takes ANSI text; loading refused what has no exact form.
    request_.extraCommandLine = exactAnsiText(extra).value_or(std::string());
    request_.logFile = exactAnsiText(config_->packageLogPath()).value_or(std::string());
}

InstallerRun::Stop InstallerRun::refuseWhileInProgress() {
    if (!plan_.takesFlag || !InstallFlag::installationInProgress() ||
        !InstallFlag::installationInProgress()) {
        return std::nullopt;
    }
    if (plan_.pages) {
        showInProgressMessage(instance_, langId_);
    }
    logit("Another Calyx installation is in progress. You must complete that installation before "
          "you can run this installer.");
    return stop(Outcome::Reason::IN_PROGRESS);
}

InstallerRun::Stop InstallerRun::checkReinstallCase() {
    logit("Wrapper, check for reinstall case..");
    switch (CheckForReinstallCase(*config_, instance_, langId_, facts_.packageBits(), facts_.installed)) {
    case ReinstallDecision::NewerBuildInstalled:
        LOG_AT_NAMED(LOG_INFO, "WinMain", "A newer CXR  build already exists. Exit install");
        return stop(Outcome::Reason::NEWER_PRESENT);
    case ReinstallDecision::StaticInstalled:
        return stop(Outcome::Reason::SAME_STATIC);
    case ReinstallDecision::Continue:
        break;
    }
    return std::nullopt;
}

void InstallerRun::disableVerifyPageOn64Bit() {
    // The plan already leaves the page out; the log says why.
    if (SysInfo::isNative64BitProcess()) {
        LOG_AT_NAMED(LOG_INFO, "WinMain", "The installer is 64 bit, set bShowVerifyPage = FALSE");
    }
}

void InstallerRun::warnUnsupportedSystem() {
    if (SysInfo::getOsClass() > 1) {
        return;
    }
    if (plan_.pages) {
        showUnsupportedSystemMessage(instance_, langId_, kCarriedMajorVersion);
    }
    logit("This is an unsupported operationg system.");
}

InstallerRun::Stop InstallerRun::takeInstallFlag() {
    if (!plan_.takesFlag) return std::nullopt;
    if (!installFlag_.take()) return stop(Outcome::Reason::IN_PROGRESS);
    ownSharedState();
    return std::nullopt;
}

void InstallerRun::ownSharedState() {
    cleanup_.add(SilentMarker, [] { EndSilentInstall(); });
    cleanup_.add(StatusValue, [] { ResetInstallStatus(); });
    cleanup_.add(VisitorIdValue, [] { SetPolicyValue("", "VisitorId"); });
    cleanup_.add(MethodValue, [] { SetPolicyValue("", "Method"); });
    cleanup_.add(ExtractionFolders, [this] {
        package_.release();
        RemoveExtractionFolders(facts_.package64Bit);
    });
}

bool InstallerRun::extractPackage() {
    const std::string path = GetProductPackagePath(facts_.package64Bit);
    logit("Wrapper: Extract MSI ...");
    if (path.empty() || !ExtractProductPackage(instance_, path, !plan_.pages, package_)) {
        // A failed write ends the run with its system error number.
        if (package_.failure() != 0) exitCode_ = static_cast<int>(package_.failure());
        outcome_.because(Outcome::Reason::EXTRACTION_FAILED);
        return false;
    }
    request_.packagePath = path;
    return true;
}

void InstallerRun::fetchOnlineOptions() {
    GetOptionsFromXmlIfOnline(instance_, langId_, offlineOptions_, promoImage_);
}

InstallerRun::Stop InstallerRun::runWizardPages() {
    if (!plan_.pages) return std::nullopt;
    std::string folder = installDir_.empty() ? GetDefaultInstallFolder(facts_.package64Bit) : installDir_;
    bool folderChosen = false;
    WizardOutcome ended = WizardOutcome::CancelledOnWelcome;
    try {
        ended = RunWizardPages(pageLocale(), !plan_.welcomePage, folder, folderChosen);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return offerInstallWithoutPages();
    }
    switch (ended) {
    case WizardOutcome::Continue:
        if (folderChosen) installDir_ = folder.substr(0, 2047);
        return std::nullopt;
    case WizardOutcome::CancelledOnFolder:
        // The ping reports an install that did not happen, without an agent.
        exitCode_ = 1;
        agentResult_ = -99;
        sendUsagePing();
        LOG_AT_NAMED(LOG_INFO, "WinMain", "The user cancelled from Change Folder dialog. Exit code: 0");
        break;
    case WizardOutcome::CancelledOnWelcome:
        LOG_AT_NAMED(LOG_INFO, "WinMain", "The user cancelled from Welcome dialog. Exit code: 0");
        break;
    }
    return endCancelled();
}

// The user who started the run must not be left with a blank window or
// none: a box asks, and No ends the run as a cancel does.
InstallerRun::Stop InstallerRun::offerInstallWithoutPages() {
    LOG_WARNING("No page can be shown; the user is asked whether to install with the default settings");
    if (!askInstallWithoutPages(instance_, langId_)) {
        LOG_AT_NAMED(LOG_INFO, "WinMain", "The user declined the install without pages. Exit code: 0");
        return endCancelled();
    }
    plan_ = planWithoutPages(choices_);
    outcome_.ui(uiWord(plan_));
    return std::nullopt;
}

// Nothing was installed or recorded yet: only the flag and the extracted
// package are left to clean up.
int InstallerRun::endCancelled() {
    cleanup_.runNow(FlagRelease);
    cleanup_.runNow(ExtractionFolders);
    return *stop(Outcome::Reason::CANCELLED);
}

std::string InstallerRun::pageLocale() const {
    return Locale::fromLangId(langId_).name();
}

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
        request_.properties["INSTALLDIR"] = tstrings::toACP(tstrings::toUtf16(installDir_));
    }
    // The service never restarts the machine in the middle of a deployment
    // unless the caller asks for it.
    // A REBOOT read from a configuration file is not forwarded, so it does not count.
    if (admin_.noRestart || !msi::assignsProperty(request_.extraCommandLine, "REBOOT")) {
        request_.properties["REBOOT"] = "ReallySuppress";
    }
    LOG_AT_NAMED(LOG_INFO, "WinMain", "MSI command line: " << request_.commandLine());
}

bool InstallerRun::exportConfiguration() {
    if (config_->ExportConfigSettings() != 0) {
        logit("Error occurred while exporting configuration settings. Exiting installer.");
        // A deployment tool must not read this stop as success.
        exitCode_ = 1603;
        outcome_.because(Outcome::Reason::CONFIG_ERROR);
        return false;
    }
    cleanup_.add(RestoreConfiguration, [this] {
        if (exitCode_ != 0) config_->RestoreConfigSettings();
    });
    return true;
}

void InstallerRun::chooseSecurityText() {
    switch (plan_.securityText) {
    case SecurityText::Medium:
        logit("WEB_CALYX_SECURITY_LEVEL set to MED/2");
        break;
    case SecurityText::MediumToHighUpgrade:
        logit("Upgrade install and Security level >2, show the Med->High Security text");
        break;
    case SecurityText::Default:
        break;
    }
}

void InstallerRun::executePackage() {
    logit("Wrapper: Execute MSI ...");
    if (!plan_.pages) {
        MarkSilentInstall();
        const std::unique_ptr<ProgressDialog> page =
            plan_.progressPage ? ShowProgressPage(pageLocale(), promoImage_.path()) : nullptr;
        std::unique_ptr<ui::ProgressWindow> window =
            plan_.fallbackWindow ? ShowProgressWindow(loadInstallerString(instance_, langId_, 3500)) : nullptr;
        ProgressView* const view = page ? static_cast<ProgressView*>(page.get()) : window.get();
        std::unique_ptr<ProgressController> progress = view ? startProgressController(view) : nullptr;
        attachProgress(progress.get());
        runPackage();
        progress.reset();
        HideProgressPage(page.get());
        window.reset();
        removeOutOfDateSilently();
        if (plan_.fallbackWindow) showInstallOutcome(instance_, langId_, exitCode_);
        return;
    }
    // Without a page the controller still runs (and so the mailbox exists);
    // without both the package runs all the same: the exit code always
    // comes from a package run. The controller, made after the page, stops
    // first.
    const std::unique_ptr<ProgressDialog> page = ShowProgressPage(pageLocale(), promoImage_.path());
    const std::unique_ptr<ProgressController> progress = startProgressController(page.get());
    attachProgress(progress.get());
    runPackage();
    rerunIfPackageAsks();
    HideProgressPage(page.get());
    if (exitCode_ != 0) {
        ShowErrorPage(pageLocale(), exitCode_);
    } else {
        finishWithPages();
    }
}

// The service's action messages reach the progress mailbox; without a
// controller there is no mailbox to post to.
void InstallerRun::attachProgress(const ProgressController* controller) {
    request_.callback = controller ? &installCallback_ : nullptr;
}

void InstallerRun::finishWithPages() {
    if (plan_.removal == OutOfDateRemoval::WithPages) removeOutOfDate(false);
    if (!installedRuntime_) return;
    bestEffort("WinMain", [this] {
        FinishUIInstallationWithSecurityPrompts(*installedRuntime_, plan_.showVerifyPage,
                                                plan_.securityText == SecurityText::MediumToHighUpgrade,
                                                UsageValues::current().installMethod, pageLocale());
    });
}

void InstallerRun::runPackage() {
    const ServiceBusyWait wait = ServiceBusyWait::forRun(!plan_.pages);
    exitCode_ = ExecCommand(request_,
                            [&wait](const msi::InstallData& request) { wait.install(request); });
    if (exitCode_ == 0) {
        describeInstalledRuntime();
    }
}

// The package asks for a second run by leaving "reinstall" as its status.
void InstallerRun::rerunIfPackageAsks() {
    std::string status;
    if (!ReadCalyxwareValue("InstallStatus", status, 512) || status != "reinstall") return;
    const LONG clear = ClearMSIStatus();
    if (clear != 0) {
        logit(tstrings::sformat("ClearMSIStatus() failed.  Return Code: %d, ErrorCode: %d",
                                static_cast<int>(clear), static_cast<int>(GetLastError())).c_str());
        return;
    }
    ResetInstallStatus();
    runPackage();
}

void InstallerRun::removeOutOfDateSilently() {
    if (exitCode_ != 0 || plan_.removal != OutOfDateRemoval::Silent) return;
    removeOutOfDate(true);
}

void InstallerRun::removeOutOfDate(bool silent) {
    try {
        const cxscrub::CalyxScrubSequence sequence(CalyxVersion(CX_RUNTIME_VERSION), facts_.packageBits(),
                                                   installedRuntime_ ? installedRuntime_->productCode() : "",
                                                   pageLocale());
        removal_.reset(new cxscrub::CalyxScrubPingData(sequence.run(silent)));
        outcome_.removed(static_cast<unsigned>(std::count_if(
            removal_->removals.begin(), removal_->removals.end(),
            [](const std::pair<InstalledCalyx, int>& removal) { return removal.second == 1; })));
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"), e);
    }
}

void InstallerRun::describeInstalledRuntime() {
    bestEffort("WinMain", [this] {
        installedRuntime_.reset(new InstalledCalyx(CalyxEnvironment().fromMsi(request_.packagePath)));
    });
}

void InstallerRun::removeLauncherCopies() {
    RemoveLauncherCopies(LauncherCopyFolders());
}

void InstallerRun::reportOutcome() {
    if (exitCode_ != 0) {
        cleanup_.runNow(RestoreConfiguration);
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
    } else {
        installUpdateAgent();
    }
}

void InstallerRun::sendUsagePing() {
    HeadRequestInputs inputs;
    inputs.removal = removal_.get();
    inputs.installResult = exitCode_;
    if (!facts_.oldRuntimeVersion.empty()) inputs.oldVersion = facts_.oldRuntimeVersion;
    inputs.agentResult = agentResult_;
    inputs.agentVersion = CX_AGENT_VERSION;
    inputs.oldAgentVersion = facts_.agentVersion;
    inputs.deployStatus = ReadDeployStatus();
    inputs.msiStatusError = static_cast<int>(msiStatus_);
    inputs.msiStatusExtendedError = static_cast<int>(msiExtendedStatus_);
    // The package's word on this install is reported once, then cleared.
    ReadCalyxwareValue("InstallStatus", inputs.installStatus, 512);
    ResetInstallStatus();
    // The ping never changes the run's outcome, and an OEM machine keeps no
    // metrics even when the ping failed.
    bestEffort("WinMain", [&] { SendHeadRequest(*config_, inputs); });
    if (oemUpdate_) RemoveCxrMetrics();
}

void InstallerRun::installUpdateAgent() {
    agentResult_ = ExtractAndInstallAutoUpdate(instance_, oemUpdate_, config_->isEnabled("AUTO_UPDATE"));
    LOG_AT_NAMED(LOG_INFO, "WinMain", "Update agent install result: " << agentResult_);
}

void InstallerRun::reportEscapedException(const std::exception* e) {
    if (e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"), *e);
    } else {
        reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"));
    }
}

int InstallerRun::commonEnd() {
    // Each piece runs even when another one fails; a run without the flag
    // registered nothing that every run shares.
    cleanup_.runAll();
    const int code = returnedCode();
    LOG_AT_NAMED(LOG_INFO, "WinMain", "Wrapper exit code: " << code);
    return code;
}
