#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CalyxScrubPingData.h"
#include "InstalledCalyx.h"
#include "SecurityBaselines.h"

// The removal of out-of-date runtimes after an install: a plan computed
// from plain data, and the sequence that carries it out.
namespace cxscrub {

// Records are ordered by version, then bits, then type, and equal when all
// three are.
bool recordLess(const InstalledCalyx& a, const InstalledCalyx& b);
bool sameRecord(const InstalledCalyx& a, const InstalledCalyx& b);

// The records of from that are not in without, in from's order.
std::vector<InstalledCalyx> recordsNotIn(const std::vector<InstalledCalyx>& from,
                                         const std::vector<InstalledCalyx>& without);

// The removal's view of the machine.
struct CandidateFinder {
    std::vector<InstalledCalyx> installed;  // runtimes of both architectures
    // The runtime this installer carries (type 0) is never offered: by
    // version and bits, and by its installed product code when known,
    // whatever version detection reads for it.
    CalyxVersion carriedVersion;
    int carriedBits = 0;
    std::string carriedProductCode;
    // None: every candidate counts as out of date.
    std::optional<SecurityBaselines> baselines;

    // installed without the carried runtime, in record order.
    std::vector<InstalledCalyx> candidates() const;
    // The candidates the baselines judge out of date, static runtimes left
    // out, in record order. Raises for a version the baselines cannot class.
    std::vector<InstalledCalyx> outOfDate() const;
};

// The versions to remove: all of the out-of-date list, or, when the
// versions page was visited, those ticked on its last visit (by position).
std::vector<InstalledCalyx> selection(const std::vector<InstalledCalyx>& outOfDate,
                                      const std::optional<std::vector<bool>>& ticks);

// The file whose presence forbids removals.
std::string deploymentRuleSetPath();

class CalyxScrubSequence {
public:
    // carriedProductCode: the installed product of the carried package;
    // empty when it could not be found. locale: the pages' language code.
    CalyxScrubSequence(const CalyxVersion& carriedVersion, int carriedBits,
                       std::string carriedProductCode, std::string locale);

    // Finds the out-of-date runtimes and, when silent, removes them all;
    // otherwise the pages offer them and remove those the user keeps
    // selected. A deployment rule set forbids removals (its page lists the
    // versions, never in a silent run). Never raises: a failure is logged
    // and ends the removal with what was recorded so far.
    CalyxScrubPingData run(bool silent) const;

private:
    // Runtimes of both architectures, detected now.
    static std::vector<InstalledCalyx> detect();
    // Detection now, and the vendor's baselines (or the
    // "BaselinesXmlURL" override).
    CandidateFinder findCandidates() const;
    void removeAll(const std::vector<InstalledCalyx>& records, CalyxScrubPingData& data) const;
    void runInteractive(CandidateFinder& finder, const std::vector<InstalledCalyx>& outOfDate,
                        CalyxScrubPingData& data) const;
    // The offer and, through its link, the versions page: the versions the
    // user chose to remove; declined is set when the user put it off.
    std::vector<InstalledCalyx> askSelection(const std::vector<InstalledCalyx>& outOfDate, bool& declined) const;
    // Removes selected with the progress page; true when the user asked to
    // see the summary.
    bool removeShowingProgress(const std::vector<InstalledCalyx>& selected, CalyxScrubPingData& data) const;
    void showDrsPage(const std::vector<InstalledCalyx>& outOfDate) const;

    CalyxVersion carriedVersion_;
    int carriedBits_;
    std::string carriedProductCode_;
    std::string locale_;
};

} // namespace cxscrub
