#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The usage ping as plain data: what one run reports, and the document
// built from it. Gathering the values and sending stay with the installer.
namespace ping {

// The document's capacity, its terminating zero included.
const size_t kDocumentCapacity = 2048;

struct Inputs {
    std::string reportSuiteId;
    std::string visitorId;
    std::string accessToken;
    std::optional<std::string> deployStatus;  // none: "XX"
    int msiStatusError = 0;
    int msiStatusExtendedError = 0;
    std::string carriedVersion;
    int offeredSpCount = 0;
    int agentResult = -99;
    std::string agentVersion;
    std::string oldAgentVersion = "XX";
    bool installer64 = false;
    std::string processorArch;
    std::string osName;
    std::string method;
    std::string country;
    // From the metrics, after the install result is known.
    std::string installAttempts = "XX";
    std::string machineCounted = "XX";
    std::string updateCount = "XX";
    int defaultBrowser = 0;
    std::optional<std::string> oldVersion;  // none: no runtime found before
    bool oem = false;
    bool browserInstalled[3] = {false, false, false};
    int installResult = 0;      // after the -128 mapping
    std::string installStatus;  // the status word read before the ping
    std::string removalList;    // empty: no removal list
};

struct Document {
    std::string text;          // empty: too long even without the removal list
    bool listLeftOut = false;  // the removal list did not fit
};

// The document: the XML declaration, "<request>", the fields in their fixed
// order with every value XML-escaped, "</request>". The removal list is left
// out when the whole would not fit the capacity.
Document build(const Inputs& in);

// value with & < > " ' as entities; other text unchanged.
std::string escape(const std::string& value);

// The address part of a ping URL: the text before its first ",".
std::string target(const std::string& pingUrl);
// The report-suite id after the first ",", else "orvelinstallstat".
std::string reportSuiteId(const std::string& pingUrl);

// prop20: "stagingkeyword" for a URL without "https://", "devtestsecret"
// unless it begins with the production endpoint, else token as "%x".
std::string accessToken(const std::string& pingUrl, const std::string& productionEndpoint,
                        uint32_t token);

// "%lx%lx%lx" of the tick count and the two halves of the time in seconds,
// padded with "f" to 16 characters, split in two halves by "-".
std::string visitorId(uint32_t tickCount, uint64_t secondsNow);

// What a run's install result and install status make of its ping.
struct Decision {
    // A reinstall is reported by the run that follows: no metrics, no ping.
    bool reinstall = false;
    // The install result reported: -128 for a failed or cancelled install
    // over an existing one, and for 1638 (another version installed).
    int reportedResult = 0;
    // A failed or declined install: the next run makes a new identity.
    bool forgetIdentity = false;
    // Metrics are counted but nothing is sent for a declined install.
    bool send = true;
};
Decision decide(int installResult, const std::string& installStatus);

// "$name#value" for every element after "request", with prop20's value cut
// out, for the log.
std::string loggedValues(const std::string& document);

} // namespace ping
