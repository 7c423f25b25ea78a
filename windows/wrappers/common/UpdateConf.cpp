#include "UpdateConf.h"

#include <ctime>

#include "BuildInfo.h"
#include "Browsers.h"
#include "HttpConnection.h"
#include "InstallConfigData.h"
#include "InstallStatus.h"
#include "InstallerKeys.h"
#include "Log.h"
#include "MetricsPlan.h"
#include "NetUtils.h"
#include "PingDocument.h"
#include "Registry.h"
#include "SysInfo.h"
#include "UpdateUtils.h"
#include "UsageValues.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

const char* const kUserChoiceKey =
    "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice";
const bool kInstaller64 = sizeof(void*) == 8;

// Runs one registry call the way the metrics routines report them: as the
// call's Win32 code, ERROR_INVALID_DATA for a value of another type or size.
template <class Call>
LONG registryCode(Call call) {
    try {
        call();
        return ERROR_SUCCESS;
    } catch (const SysError& e) {
        return static_cast<LONG>(e.code());
    } catch (const std::exception&) {
        return ERROR_INVALID_DATA;
    }
}

void logCode(const char* format, LONG code) {
    logit(tstrings::sformat(format, static_cast<long>(code), static_cast<int>(code)).c_str());
}

int readOfferedSpCount() {
    std::optional<Registry> key;
    try {
        key = InstallerKeys::find(SharedKey::Metrics, Registry::Mode::Write);
    } catch (const std::exception& e) {
        LOG_AT_NAMED(LOG_WARNING, "SendHeadRequest", "OfferedSPCnt not read: " << e.what());
    }
    if (!key) return 0;
    int count = -1;
    try {
        if (const std::optional<DWORD> value = key->findDword("OfferedSPCnt")) count = static_cast<int>(*value);
    } catch (const std::exception& e) {
        LOG_AT_NAMED(LOG_WARNING, "SendHeadRequest", "OfferedSPCnt not read: " << e.what());
        count = -2;
    }
    const LONG deleted = registryCode([&] { key->deleteValueIfPresent("OfferedSPCnt"); });
    if (deleted != ERROR_SUCCESS) {
        LOG_AT_NAMED(LOG_WARNING, "SendHeadRequest", "OfferedSPCnt not deleted: " << systemErrorText(deleted));
    }
    return count;
}

// A string value of key, empty when it or its key is absent; a failure
// other than absence is logged, since the caller goes on with a default.
std::string optionalString(SharedKey where, const char* name) {
    try {
        if (const std::optional<Registry> key = InstallerKeys::find(where)) {
            return key->findString(name).value_or(std::string());
        }
    } catch (const std::exception& e) {
        LOG_AT_NAMED(LOG_WARNING, "SendHeadRequest", name << " not read: " << e.what());
    }
    return std::string();
}

// The policy value when it reads, else the run's own text.
std::string policyValue(const char* name, const std::string& fallback) {
    const std::string value = optionalString(SharedKey::Policy, name);
    return value.empty() ? fallback : value;
}

bool oemInstallation(const InstallConfigData& config) {
    DWORD value = 0;
    try {
        const std::optional<Registry> key = InstallerKeys::find(SharedKey::AgentVendor);
        const std::optional<DWORD> stored = key ? key->findDword("OEMUPDATE") : std::nullopt;
        if (stored) {
            value = *stored;
        } else {
            logit("Registry value for OEMUPDATE is not found: it does not exist");
        }
    } catch (const std::exception& e) {
        logit(("Registry value for OEMUPDATE is not found: " + std::string(e.what())).c_str());
    }
    logit(value != 0 ? "OEMUpdate after registry check is 1" : "OEMUpdate after registry check is 0");
    return value != 0 || config.isEnabled("OEMUPDATE");
}

// A default value of HKEY_CLASSES_ROOT: the user's classes, then the
// machine's. ERROR_FILE_NOT_FOUND when the key is in neither.
LONG readClassesDefault(const std::string& subkey, std::string& value) {
    const std::string path = "Software\\Classes\\" + subkey;
    for (const Registry* root : {&Registry::currentUser(), &Registry::localMachine()}) {
        if (root->keyExists(path)) return registryCode([&] { value = Registry::open(*root, path).getString(""); });
    }
    return ERROR_FILE_NOT_FOUND;
}

// Bounded, so that a silent receiver cannot hold the installer's exit.
void send(const std::string& url, const std::string& document) {
    HttpConnection::Settings settings = VendorRequestSettings(url, HttpConnection::POST, "cxupdate");
    settings.data = document;
    HttpConnection::connect(settings).saveToBuffer();
}

} // namespace

const std::string& MakeVisitorId() {
    UsageValues& usage = UsageValues::current();
    if (!usage.visitorId.empty()) return usage.visitorId;
    // None is stored on a first run or after a failed one; a new id is made then.
    const std::string stored = optionalString(SharedKey::Policy, "VisitorId");
    // The stored id is read into 32 bytes, its zero included.
    if (stored.size() >= 16 && stored.size() < 32) {
        usage.visitorId = stored;
    } else {
        usage.visitorId = ping::visitorId(GetTickCount(), static_cast<uint64_t>(std::time(nullptr)));
        SetPolicyValue(usage.visitorId, "VisitorId");
    }
    return usage.visitorId;
}

namespace {

// A metrics value as the plan takes it: empty when absent or unreadable.
template <class Read>
auto readable(Read read) -> decltype(read()) {
    try {
        return read();
    } catch (const std::exception& e) {
        LOG_AT_NAMED(LOG_WARNING, "GetUpdatedCxrMetrics", e.what());
        return std::nullopt;
    }
}

void logWrite(const char* name, LONG code) {
    if (code == ERROR_SUCCESS) return;
    logCode(("GetUpdatedCxrMetrics() - RegSetValueEx failed for " + std::string(name) + ": %ld Error Code: %d\n").c_str(),
            code);
}

} // namespace

CxrMetrics GetUpdatedCxrMetrics(int installResult) {
    CxrMetrics out;
    std::optional<Registry> key;
    const LONG created = registryCode([&] { key.emplace(InstallerKeys::create(SharedKey::Metrics)); });
    if (created != ERROR_SUCCESS) {
        logCode("GetUpdatedCxrMetrics() - RegCreateKeyEx failed: %ld Error Code: %d\n", created);
        return out;
    }

    metrics::Stored stored;
    DWORD machineCount = 0;
    const LONG counted = registryCode([&] { machineCount = key->getDword("MachineCount"); });
    stored.machineCount = counted == ERROR_SUCCESS          ? metrics::Stored::Count::Present
                          : counted == ERROR_FILE_NOT_FOUND ? metrics::Stored::Count::Absent
                                                            : metrics::Stored::Count::Unreadable;
    stored.installAttempts = readable([&] { return key->findDword("InstallAttempts"); });
    stored.newCxrVersion = readable([&] { return key->findString("NewCxrVersion"); });
    stored.updateCount = readable([&] { return key->findDword("UpdateCount"); });
    stored.cxrVersion = readable([&] { return key->findString("CxrVersion"); });
    const metrics::Plan plan = metrics::plan(stored, installResult, CX_RUNTIME_VERSION);

    out.machineCounted = plan.machineCounted;
    if (plan.countMachine) {
        const LONG written = registryCode([&] { key->setDword("MachineCount", 1); });
        if (written == ERROR_SUCCESS) {
            out.machineCounted = "false";
            logit("GetUpdatedCxrMetrics() - MachineCount registry value created\n");
        } else {
            logCode("GetUpdatedCxrMetrics() - RegSetValue for MachineCount failed: %ld Error Code: %d\n", written);
        }
    } else if (stored.machineCount == metrics::Stored::Count::Absent) {
        logit(tstrings::sformat("GetUpdatedCxrMetrics() - MachineCount registry value does not exist and will not "
                                "be created  because install was not successful. Error: %d\n",
                                static_cast<int>(counted)).c_str());
    } else if (stored.machineCount == metrics::Stored::Count::Present) {
        logit("GetUpdatedCxrMetrics() - MachineCount registry value exists\n");
    } else {
        logCode("GetUpdatedCxrMetrics() - RegQueryValueEx for MachineCount failed: %ld Error Code: %d\n", counted);
    }

    if (plan.raiseUpdateCount) {
        logWrite("CxrVersion", registryCode([&] { key->setString("CxrVersion", CX_RUNTIME_VERSION); }));
        logWrite("UpdateCount",
                 registryCode([&] { key->setDword("UpdateCount", static_cast<DWORD>(*plan.raiseUpdateCount)); }));
    }
    if (plan.forgetAttempts) {
        for (const char* name : {"InstallAttempts", "NewCxrVersion"}) {
            const LONG deleted = registryCode([&] { key->deleteValueIfPresent(name); });
            if (deleted != ERROR_SUCCESS) {
                logit(tstrings::sformat("GetUpdatedCxrMetrics() - RegDeleteValue failed for %s: %ld Error Code: %d\n",
                                        name, static_cast<long>(deleted), static_cast<int>(deleted)).c_str());
            }
        }
    }
    if (plan.recordAttempts) {
        logWrite("InstallAttempts",
                 registryCode([&] { key->setDword("InstallAttempts", static_cast<DWORD>(*plan.recordAttempts)); }));
        logWrite("NewCxrVersion", registryCode([&] { key->setString("NewCxrVersion", CX_RUNTIME_VERSION); }));
    }

    out.installAttempts = std::to_string(plan.installAttempts);
    out.updateCount = std::to_string(plan.updateCount);
    logit(tstrings::sformat("GetUpdatedCxrMetrics() - MachineCounted: %s, InstallAttempts: %s, UpdateCount: %s\n",
                            out.machineCounted.c_str(), out.installAttempts.c_str(), out.updateCount.c_str())
              .c_str());
    return out;
}

LONG RemoveCxrMetrics() {
    LONG result = ERROR_SUCCESS;
    result = registryCode([&] {
        if (!InstallerKeys::remove(SharedKey::Metrics)) result = ERROR_FILE_NOT_FOUND;
    });
    if (result == ERROR_SUCCESS) {
        logit("RemoveCxrMetrics() - CxrMetrics key successfully removed\n");
    } else {
        logit(tstrings::sformat("RemoveCxrMetrics() - RegDeleteKeyEx(): Error:%d, ErrorCode:%d\n",
                                static_cast<int>(result), static_cast<int>(result)).c_str());
    }
    return result;
}

std::string ReadDeployStatus() {
    try {
        if (const std::optional<Registry> key = InstallerKeys::find(SharedKey::Metrics)) {
            if (const std::optional<std::string> status = key->findString("RegDeployStatus")) return *status;
        }
    } catch (const std::exception& e) {
        LOG_AT_NAMED(LOG_WARNING, "SendHeadRequest", "RegDeployStatus not read: " << e.what());
    }
    return "YY";
}

int GetDefaultBrowserCode() {
    const bool vistaOrLater = SysInfo::getOsVersion().major >= 6;
    if (vistaOrLater && Registry::currentUser().keyExists(kUserChoiceKey)) {
        std::string progId;
        if (registryCode([&] { progId = Registry::open(Registry::currentUser(), kUserChoiceKey).getString("Progid"); }) !=
            ERROR_SUCCESS) {
            return 0;
        }
        return progId == "FirefoxURL" ? 2 : progId == "IE.HTTP" ? 1 : 3;
    }
    std::string command;
    if (readClassesDefault("http\\shell\\open\\command", command) == ERROR_SUCCESS &&
        command.find("chrome.exe") != std::string::npos) {
        return 3;
    }
    std::string application;
    const LONG read = readClassesDefault("http\\shell\\open\\ddeexec\\Application", application);
    if (read == ERROR_FILE_NOT_FOUND) return vistaOrLater ? 2 : 0;
    if (read != ERROR_SUCCESS) return 0;
    return application == "IExplore" ? 1 : application == "Firefox" ? 2 : 3;
}

void LogHeadRequestBuffer(const std::string& document) {
    LOG_AT_NAMED(LOG_INFO, "LogHeadRequestBuffer", "Ping Values: " << ping::loggedValues(document));
}

int SendHeadRequest(const InstallConfigData& config, const HeadRequestInputs& inputs) {
    if (!config.isEnabled("WEB_ANALYTICS")) {
        LOG_AT_NAMED(LOG_INFO, "SendHeadRequest", "Pings disabled.");
        return 1;
    }
    LOG_AT_NAMED(LOG_INFO, "SendHeadRequest", "Pings enabled");
    const UsageValues& usage = UsageValues::current();
    const std::string& url = usage.postStatusUrl;
    const std::string address = ping::target(url);
    if (address.empty() || !NetUtils::isAllowedUrl(address)) {
        LOG_AT_NAMED(LOG_ERROR, "SendHeadRequest", "No pings: unallowed url: " << url);
        return 1;
    }

    ping::Inputs in;
    in.visitorId = MakeVisitorId();
    in.reportSuiteId = ping::reportSuiteId(url);
    in.accessToken = ping::accessToken(url, CX_METRICS_ENDPOINT, CX_METRICS_TOKEN);
    in.deployStatus = inputs.deployStatus;
    in.msiStatusError = inputs.msiStatusError;
    in.msiStatusExtendedError = inputs.msiStatusExtendedError;
    in.carriedVersion = CX_RUNTIME_VERSION;
    in.offeredSpCount = readOfferedSpCount();
    in.agentResult = inputs.agentResult;
    in.agentVersion = inputs.agentVersion;
    in.oldAgentVersion = inputs.oldAgentVersion;
    in.installer64 = kInstaller64;
    in.processorArch = SysInfo::getArchName();
    in.osName = SysInfo::getOsName();
    in.method = policyValue("Method", usage.installMethod);
    in.country = policyValue("Country", usage.country);

    const std::string& status = inputs.installStatus;
    const ping::Decision decision = ping::decide(inputs.installResult, status);
    if (decision.reinstall) {
        LOG_AT_NAMED(LOG_INFO, "SendHeadRequest", "No pings: reinstall");
        return 1;
    }
    in.installResult = decision.reportedResult;
    if (decision.forgetIdentity) {
        SetPolicyValue("", "VisitorId");
        SetPolicyValue("", "Method");
    }
    const CxrMetrics metrics = GetUpdatedCxrMetrics(in.installResult);
    in.installAttempts = metrics.installAttempts;
    in.machineCounted = metrics.machineCounted;
    in.updateCount = metrics.updateCount;
    in.defaultBrowser = GetDefaultBrowserCode();
    in.oldVersion = inputs.oldVersion;
    in.oem = oemInstallation(config);
    for (int id : {browsers::InternetExplorer, browsers::Firefox, browsers::Chrome}) {
        in.browserInstalled[id] = browsers::isInstalled(id, !kInstaller64);
    }
    if (!decision.send) {
        LOG_AT_NAMED(LOG_INFO, "SendHeadRequest", "No pings: decline");
        return 1;
    }
    in.installStatus = status;
    if (inputs.removal) {
        in.removalList = inputs.removal->createUninstallPing();
        LOG_AT_NAMED(LOG_INFO, "SendHeadRequest", "Calyx Removal Tool ping: " << in.removalList);
    }

    const ping::Document document = ping::build(in);
    if (document.listLeftOut) {
        LOG_AT_NAMED(LOG_WARNING, "SendHeadRequest", "Ping document too long, removal list left out");
    }
    if (document.text.empty()) {
        LOG_AT_NAMED(LOG_ERROR, "SendHeadRequest", "No pings: document too long");
        return 1;
    }
    try {
        send(address, document.text);
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("SendHeadRequest"), e);
    }
    LogHeadRequestBuffer(document.text);
    return 1;
}
