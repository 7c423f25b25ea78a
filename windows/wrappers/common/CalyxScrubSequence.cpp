#include "CalyxScrubSequence.h"

#include <algorithm>
#include <tuple>

#include "BaselinesFile.h"
#include "CalyxEnvironment.h"
#include "FileUtils.h"
#include "InstallStatus.h"
#include "Log.h"
#include "SysInfo.h"

namespace cxscrub {

namespace {

auto recordKey(const InstalledCalyx& r) {
    return std::make_tuple(r.fullVersion(), r.bits(), r.type());
}

bool containsRecord(const std::vector<InstalledCalyx>& records, const InstalledCalyx& record) {
    return std::any_of(records.begin(), records.end(),
                       [&](const InstalledCalyx& r) { return sameRecord(r, record); });
}

} // namespace

bool recordLess(const InstalledCalyx& a, const InstalledCalyx& b) {
    return recordKey(a) < recordKey(b);
}

bool sameRecord(const InstalledCalyx& a, const InstalledCalyx& b) {
    return recordKey(a) == recordKey(b);
}

std::vector<InstalledCalyx> recordsNotIn(const std::vector<InstalledCalyx>& from,
                                         const std::vector<InstalledCalyx>& without) {
    std::vector<InstalledCalyx> result;
    for (const InstalledCalyx& r : from) {
        if (!containsRecord(without, r)) result.push_back(r);
    }
    return result;
}

std::vector<InstalledCalyx> CandidateFinder::candidates() const {
    std::vector<InstalledCalyx> result;
    for (const InstalledCalyx& r : installed) {
        const bool carried = (r.type() == CXR && r.bits() == carriedBits && r.fullVersion() == carriedVersion) ||
                             (!carriedProductCode.empty() && r.productCode() == carriedProductCode);
        if (!carried) result.push_back(r);
    }
    std::stable_sort(result.begin(), result.end(), recordLess);
    return result;
}

std::vector<InstalledCalyx> CandidateFinder::outOfDate() const {
    std::vector<InstalledCalyx> result;
    for (const InstalledCalyx& r : candidates()) {
        if (baselines && baselines->isCurrent(r.fullVersion())) continue;
        if (r.type() == CXR && r.mode() == CALYX_MODE_STATIC) continue;
        result.push_back(r);
    }
    return result;
}

std::vector<InstalledCalyx> selection(const std::vector<InstalledCalyx>& outOfDate,
                                      const std::optional<std::vector<bool>>& ticks) {
    if (!ticks) return outOfDate;
    std::vector<InstalledCalyx> result;
    for (size_t i = 0; i < outOfDate.size() && i < ticks->size(); ++i) {
        if ((*ticks)[i]) result.push_back(outOfDate[i]);
    }
    return result;
}

std::string deploymentRuleSetPath() {
    return FileUtils::joinPath(SysInfo::getWindowsDir(), "Orvel\\Calyx\\Deployment\\DeploymentRuleSet.cxa");
}

CalyxScrubSequence::CalyxScrubSequence(const CalyxVersion& carriedVersion, int carriedBits,
                                       std::string carriedProductCode)
    : carriedVersion_(carriedVersion),
      carriedBits_(carriedBits),
      carriedProductCode_(std::move(carriedProductCode)) {}

CandidateFinder CalyxScrubSequence::findCandidates() const {
    CandidateFinder finder;
    finder.installed = CalyxEnvironment().detect(CalyxEnvironment::FILTER_CXR | CalyxEnvironment::FILTER_32BIT |
                                                 CalyxEnvironment::FILTER_64BIT);
    finder.carriedVersion = carriedVersion_;
    finder.carriedBits = carriedBits_;
    finder.carriedProductCode = carriedProductCode_;
    std::string url;
    ReadCalyxwareValue("BaselinesXmlURL", url, 2048);
    finder.baselines = parseBaselinesFile(downloadBaselinesFile(url));
    return finder;
}

CalyxScrubPingData CalyxScrubSequence::run(bool silent) const {
    CalyxScrubPingData data;
    try {
        const CandidateFinder finder = findCandidates();
        data.installed = finder.candidates();
        data.setIsDRS(FileUtils::exists(deploymentRuleSetPath()));
        const std::vector<InstalledCalyx> outOfDate = finder.outOfDate();
        LOG_INFO("Out-of-date Calyx versions detected: " << outOfDate.size());
        if (outOfDate.empty()) return data;
        if (data.isDrs) {
            // Only an interactive run may show the versions; a page would
            // hold a deployment tool's silent run.
            LOG_INFO("DRS detected, skipping out-of-date Calyx uninstall");
            return data;
        }
        if (!silent) {
            LOG_WARNING("No removal pages in this installer: out-of-date Calyx versions are kept");
            return data;
        }
        removeAll(outOfDate, data);
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("cxscrub::CalyxScrubSequence::run"), e);
    }
    return data;
}

void CalyxScrubSequence::removeAll(const std::vector<InstalledCalyx>& records, CalyxScrubPingData& data) const {
    for (const InstalledCalyx& record : records) {
        msi::UninstallData request;
        data.addUninstalledVersion(record, record.uninstall(request) ? 1 : 0);
    }
}

} // namespace cxscrub
