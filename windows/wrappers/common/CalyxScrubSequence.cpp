#include "CalyxScrubSequence.h"

#include <algorithm>
#include <tuple>

#include "BaselinesFile.h"
#include "CalyxEnvironment.h"
#include "CalyxScrubCompleteDialog.h"
#include "CalyxScrubDRSDialog.h"
#include "CalyxScrubDialog.h"
#include "CalyxScrubProgressDialog.h"
#include "CalyxScrubVersionsDialog.h"
#include "FileUtils.h"
#include "HttpConnection.h"
#include "InstallStatus.h"
#include "Log.h"
#include "SysInfo.h"

namespace cxscrub {

namespace {

auto recordKey(const InstalledCalyx& r) {
    return std::make_tuple(r.fullVersion(), r.bits(), r.type());
}

// A page that fails must not stop removals under way: logged, and the
// sequence goes on without it.
template <typename Step>
void pageStep(Step step) {
    try {
        step();
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("cxscrub::CalyxScrubSequence::pageStep"), e);
    }
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
                                       std::string carriedProductCode, std::string locale)
    : carriedVersion_(carriedVersion),
      carriedBits_(carriedBits),
      carriedProductCode_(std::move(carriedProductCode)),
      locale_(std::move(locale)) {}

std::vector<InstalledCalyx> CalyxScrubSequence::detect() {
    return CalyxEnvironment().detect(CalyxEnvironment::FILTER_CXR | CalyxEnvironment::FILTER_32BIT |
                                     CalyxEnvironment::FILTER_64BIT);
}

CandidateFinder CalyxScrubSequence::findCandidates() const {
    CandidateFinder finder;
    finder.installed = detect();
    finder.carriedVersion = carriedVersion_;
    finder.carriedBits = carriedBits_;
    finder.carriedProductCode = carriedProductCode_;
    std::string url;
    ReadCalyxwareValue("BaselinesXmlURL", url, 2048);
    std::string document;
    try {
        document = downloadBaselinesFile(url);
    } catch (const HttpConnection::network_error& e) {
        // An offline installer must remove offline too. A document that
        // arrived but is bad still ends the removal.
        LOG_INFO("No security baselines document (" << e.what() << "); removing by the baselines "
                                                                "carried for "
                                                             << carriedVersion_.toString());
        finder.baselines = carriedBaselines(carriedVersion_);
        return finder;
    }
    finder.baselines = parseBaselinesFile(document);
    return finder;
}

CalyxScrubPingData CalyxScrubSequence::run(bool silent) const {
    CalyxScrubPingData data;
    try {
        CandidateFinder finder = findCandidates();
        data.installed = finder.candidates();
        data.setIsDRS(FileUtils::exists(deploymentRuleSetPath()));
        const std::vector<InstalledCalyx> outOfDate = finder.outOfDate();
        LOG_INFO("Out-of-date Calyx versions detected: " << outOfDate.size());
        if (outOfDate.empty()) return data;
        if (data.isDrs) {
            // Only an interactive run may show the versions; a page would
            // hold a deployment tool's silent run.
            LOG_INFO("DRS detected, skipping out-of-date Calyx uninstall");
            if (!silent) showDrsPage(outOfDate);
            return data;
        }
        if (silent) {
            removeAll(outOfDate, data);
        } else {
            runInteractive(finder, outOfDate, data);
        }
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

void CalyxScrubSequence::showDrsPage(const std::vector<InstalledCalyx>& outOfDate) const {
    ui::CalyxScrubDRSDialog page(locale_);
    page.records = outOfDate;
    page.run();
}

void CalyxScrubSequence::runInteractive(CandidateFinder& finder, const std::vector<InstalledCalyx>& outOfDate,
                                        CalyxScrubPingData& data) const {
    bool declined = false;
    const std::vector<InstalledCalyx> selected = askSelection(outOfDate, declined);
    if (declined) data.setIsIgnoredByUser();
    data.notRemoved = recordsNotIn(outOfDate, selected);
    if (selected.empty() || !removeShowingProgress(selected, data)) return;
    // What is still out of date after the removal; the baselines stay.
    finder.installed = detect();
    const std::vector<InstalledCalyx> remaining = finder.outOfDate();
    ui::CalyxScrubCompleteDialog summary(locale_);
    summary.removed = recordsNotIn(selected, remaining);
    summary.remaining = remaining;
    summary.run();
}

std::vector<InstalledCalyx> CalyxScrubSequence::askSelection(const std::vector<InstalledCalyx>& outOfDate,
                                                             bool& declined) const {
    ui::CalyxScrubDialog offer(locale_);
    std::optional<std::vector<bool>> ticks;
    for (;;) {
        const int answer = offer.run();
        if (answer == ::ui::DialogNext) return selection(outOfDate, ticks);
        if (answer != ::ui::DialogLink) {
            declined = true;
            return {};
        }
        // Rebuilt for each visit, so that its boxes start all ticked.
        ui::CalyxScrubVersionsDialog versions(locale_);
        for (const InstalledCalyx& record : outOfDate) versions.items.push_back({true, record});
        const int chosen = versions.run();
        ticks.emplace();
        for (const auto& item : versions.items) ticks->push_back(item.checked);
        // Its back button and its close both return to the offer.
        if (chosen == ::ui::DialogNext) return selection(outOfDate, ticks);
    }
}

bool CalyxScrubSequence::removeShowingProgress(const std::vector<InstalledCalyx>& selected,
                                               CalyxScrubPingData& data) const {
    ui::CalyxScrubProgressDialog progress(locale_);
    pageStep([&] { progress.show(); });
    const int total = static_cast<int>(selected.size());
    for (int i = 0; i < total; ++i) {
        const InstalledCalyx& record = selected[i];
        pageStep([&] { progress.setStatus(ui::displayName(record), i + 1, total); });
        msi::UninstallData request;
        data.addUninstalledVersion(record, record.uninstall(request) ? 1 : 0);
    }
    pageStep([&] { progress.hide(); });
    progress.completed = true;
    int answer = ::ui::DialogClosed;
    pageStep([&] { answer = progress.run(); });
    return answer == ::ui::DialogLink;
}

} // namespace cxscrub
