#include "UpdateUtils.h"

#include <windows.h>

#include "HttpConnection.h"
#include "InstallStatus.h"
#include "InstallerKeys.h"
#include "Log.h"
#include "NetUtils.h"
#include "Registry.h"
#include "Sha256.h"
#include "UsageValues.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

const int kSha256AlgorithmId = 32780;  // CALG_SHA_256
const DWORD kVendorRequestTimeoutMs = 10000;

} // namespace

bool getCheckSum(const std::string& path, std::string& checksum) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        LOG_AT_NAMED(LOG_ERROR, "getCheckSum",
                     systemFailure("Error opening file \"" + path + "\"", GetLastError()));
        return false;
    }
    try {
        checksum = sha256::ofOpenFile(file.get());
        return true;
    } catch (const std::exception& e) {
        LOG_AT_NAMED(LOG_ERROR, "getCheckSum", e.what());
        return false;
    }
}

bool verifyCheckSum(const std::string& path, const std::string& expected) {
    std::string actual;
    if (!getCheckSum(path, actual)) return false;
    if (actual == expected) return true;
    LOG_AT_NAMED(LOG_ERROR, "verifyCheckSum",
                 tstrings::sformat("Checksum verification for \"%s\" file failed: expected=[%s]; "
                                   "actual=[%s]; algorithm=%d.",
                                   path.c_str(), expected.c_str(), actual.c_str(), kSha256AlgorithmId));
    return false;
}

bool IsCountryCode(const std::string& text) {
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    return text.size() == 2 && letter(text[0]) && letter(text[1]);
}

bool ReadStoredCountry(std::string& country) {
    try {
        const std::optional<Registry> policy = InstallerKeys::find(SharedKey::Policy);
        const std::optional<std::string> found = policy ? policy->findString("Country") : std::nullopt;
        if (!found) return false;  // none stored yet is the usual case
        const std::string stored = *found;
        if (!IsCountryCode(stored)) {
            LOG_AT_NAMED(LOG_WARNING, "GetCountry", "Invalid country value : '" << stored << "'");
            return false;
        }
        country = stored;
        return true;
    } catch (const std::exception& e) {
        LOG_AT_NAMED(LOG_WARNING, "GetCountry", "Stored country not read: " << e.what());
        return false;
    }
}

HttpConnection::Settings VendorRequestSettings(const std::string& url, int kind, const std::string& agent) {
    HttpConnection::Settings settings;
    settings.url = url;
    settings.kind = kind;
    settings.agent = agent;
    settings.allowHttp = true;
    settings.timeoutMs = kVendorRequestTimeoutMs;
    settings.followRedirects = false;
    return settings;
}

bool GetCountry(const std::string& url) {
    UsageValues& usage = UsageValues::current();
    usage.country = "YY";
    if (url.empty() || !NetUtils::isAllowedUrl(url)) return false;
    if (ReadStoredCountry(usage.country)) return true;
    try {
        const std::string value =
            HttpConnection::connect(VendorRequestSettings(url, HttpConnection::HEAD, "cxprobe"))
                .getHeaderValue("COUNTRY");
        if (!IsCountryCode(value)) JP_THROW_MSG("Invalid country value : '" + value + "'");
        usage.country = value;
        InstallerKeys::create(SharedKey::Policy).setString("Country", value);
        LOG_AT_NAMED(LOG_INFO, "GetCountry", "Save Country Code " << value << " after GetCountry()");
        return true;
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("GetCountry"), e);
        return false;
    }
}
