#include "CalyxScrubPingData.h"

#include "CalyxScrubSequence.h"
#include "Log.h"
#include "VersionText.h"

namespace cxscrub {

namespace {

std::string versionToken(int code, const InstalledCalyx& record) {
    return "uncxr~" + std::to_string(code) + "~" + printableVersion(record.fullVersion()) + ":" +
           std::to_string(record.bits()) + ";";
}

} // namespace

void CalyxScrubPingData::addUninstalledVersion(const InstalledCalyx& record, int result) {
    LOG_INFO("CalyxScrubPingData: Adding Uninstall result for Version: "
             << printableVersion(record.fullVersion()) << "; exitCode is " << result);
    removals.emplace_back(record, result);
}

void CalyxScrubPingData::setIsDRS(bool flag) {
    LOG_INFO("CalyxScrubPingData: Setting isDrs to: " << (flag ? 1 : 0));
    isDrs = flag;
}

void CalyxScrubPingData::setIsIgnoredByUser() {
    LOG_INFO("CalyxScrubPingData: Setting isIgnoredByUser to: " << 1);
    isIgnoredByUser = true;
}

std::vector<InstalledCalyx> CalyxScrubPingData::calculateSecureVersions() const {
    std::vector<InstalledCalyx> removed;
    for (const auto& removal : removals) removed.push_back(removal.first);
    const std::vector<InstalledCalyx> secure = recordsNotIn(recordsNotIn(installed, removed), notRemoved);
    for (const InstalledCalyx& record : secure) {
        LOG_INFO("CalyxScrubPingData: Adding secure Version: " << printableVersion(record.fullVersion()));
    }
    return secure;
}

std::string CalyxScrubPingData::createUninstallPing() const {
    if (installed.empty()) return std::string();
    if (isDrs) {
        LOG_INFO("DRS file is found on machine");
        return "uninstaller~ua102;";
    }
    std::string text;
    const std::vector<InstalledCalyx> secure = calculateSecureVersions();
    LOG_INFO("1: " << secure.size());
    for (const InstalledCalyx& record : secure) text += versionToken(-22, record);
    for (const InstalledCalyx& record : notRemoved) text += versionToken(-20, record);
    if (isIgnoredByUser || (!notRemoved.empty() && removals.empty())) {
        LOG_INFO("User cancelled cxr uninstallation");
        return text + "uninstaller~ua101;";
    }
    LOG_INFO("Some CXRs were uninstalled");
    bool anyNonZero = false;
    for (const auto& removal : removals) {
        text += versionToken(removal.second, removal.first);
        anyNonZero = anyNonZero || removal.second != 0;
    }
    return text + (anyNonZero ? "uninstaller~ua500;" : "uninstaller~ua100;");
}

} // namespace cxscrub
