#include "ReinstallPlan.h"

ReinstallPlan PlanReinstall(const std::vector<InstalledForReinstall>& installed,
                            const CalyxVersion& carried, int packageBits, bool staticEnabled,
                            bool complete) {
    const CalyxVersion carriedFamily = keepItems(carried, 3);
    const CalyxVersion carriedBase = withoutBuild(carried);
    std::vector<size_t> candidates;
    for (size_t i = 0; i < installed.size(); ++i) {
        const InstalledForReinstall& p = installed[i];
        if (p.runtime && p.bits == packageBits && keepItems(p.version, 3) == carriedFamily) {
            candidates.push_back(i);
        }
    }
    const auto sameBase = [&](size_t i) { return withoutBuild(installed[i].version) == carriedBase; };

    for (size_t i : candidates) {
        if (sameBase(i) && installed[i].version > carried) {
            return {ReinstallOutcome::NewerBuild, {}};
        }
    }
    if (!staticEnabled) {
        for (size_t i : candidates) {
            if (installed[i].staticMode && sameBase(i)) {
                return {ReinstallOutcome::StaticInstalled, {}};
            }
        }
    }
    ReinstallPlan plan{ReinstallOutcome::Proceed, {}};
    if (!complete) return plan;
    for (size_t i : candidates) {
        if (installed[i].version <= carried && sameBase(i) &&
            (staticEnabled || !installed[i].staticMode)) {
            plan.removals.push_back(i);
        }
    }
    return plan;
}

bool IsOlderFamily(const CalyxVersion* newestInstalled, const CalyxVersion& carried) {
    return newestInstalled && keepItems(*newestInstalled, 2) < keepItems(carried, 2);
}
