#pragma once

#include <windows.h>

#include <optional>
#include <string>

class InstallConfigData;

// What an out-of-date removal reports in the usage ping.
class RemovalPingSource {
public:
    virtual ~RemovalPingSource() = default;
    // The removal list; empty when there is nothing to report.
    virtual std::string createUninstallPing() const = 0;
};

// What the installer flow hands to the usage ping.
struct HeadRequestInputs {
    const RemovalPingSource* removal = nullptr;
    int installResult = 0;                    // the runtime install's result
    std::optional<std::string> oldVersion;    // the runtime found before, if any
    int agentResult = -99;                    // -99: not attempted
    std::string agentVersion;                 // the carried agent's version
    std::string oldAgentVersion = "XX";
    std::optional<std::string> deployStatus;  // "RegDeployStatus", if read
    int msiStatusError = 0;
    int msiStatusExtendedError = 0;
    std::string installStatus;                // "InstallStatus" as the package left it
};

// Install metrics of this machine, as reported in the ping.
struct CxrMetrics {
    std::string machineCounted = "XX";
    std::string installAttempts = "XX";
    std::string updateCount = "XX";
};

// Sends the run's usage ping (POST of the ping document to the ping URL)
// unless pings are disabled, the URL is not a vendor address, or the
// install status is "reinstall" or "decline" (ping::decide). Updates the metrics on the
// way. Returns 1; transfer failures are only logged.
int SendHeadRequest(const InstallConfigData& config, const HeadRequestInputs& inputs);

// The run's visitor id: the stored "VisitorId" when it has 16 or more
// characters, else a new one, stored. Made once per run.
const std::string& MakeVisitorId();

// Counts this install in "Software\CxrMetrics" and answers the counts.
CxrMetrics GetUpdatedCxrMetrics(int installResult);

// Deletes "Software\CxrMetrics"; ERROR_SUCCESS or the failure's code.
LONG RemoveCxrMetrics();

// "RegDeployStatus" of the metrics key, "YY" when it or the key is absent.
std::string ReadDeployStatus();

// 0 unknown, 1 Internet Explorer, 2 Firefox, 3 another browser.
int GetDefaultBrowserCode();

// "Ping Values: " + the document's values, prop20's cut out, at INFO.
void LogHeadRequestBuffer(const std::string& document);
