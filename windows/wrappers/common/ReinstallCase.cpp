#include "ReinstallCase.h"

#include "BuildInfo.h"
#include "CalyxEnvironment.h"
#include "Log.h"
#include "MessageBoxes.h"
#include "ProductType.h"
#include "ReinstallPlan.h"

namespace {

const unsigned kRuntimesAndKitsOfBothArchitectures =
    CalyxEnvironment::FILTER_CXR | CalyxEnvironment::FILTER_CXS | CalyxEnvironment::FILTER_32BIT |
    CalyxEnvironment::FILTER_64BIT;

std::vector<InstalledForReinstall> decisionView(const std::vector<InstalledCalyx>& installed) {
    std::vector<InstalledForReinstall> view;
    for (const InstalledCalyx& product : installed) {
        view.push_back({product.type() == CXR, product.bits(), product.fullVersion(),
                        product.mode() == 20});
    }
    return view;
}

} // namespace

InstalledProducts DetectInstalledProducts() {
    InstalledProducts installed;
    installed.products = CalyxEnvironment().detect(kRuntimesAndKitsOfBothArchitectures, &installed.complete);
    return installed;
}

ReinstallDecision CheckForReinstallCase(const InstallConfigData& config, HINSTANCE instance, unsigned langId,
                          int packageBits, const InstalledProducts& detected) {
    const std::vector<InstalledCalyx>& installed = detected.products;
    const bool complete = detected.complete;
    if (!complete) {
        LOG_AT_NAMED(LOG_ERROR, "CheckForReinstallCase",
                     "Installed products could not all be read; nothing is removed");
    }
    const bool staticEnabled = config.hasKey("STATIC") && config.isEnabled("STATIC");
    const ReinstallPlan plan = PlanReinstall(decisionView(installed), CalyxVersion(CX_RUNTIME_VERSION),
                                             packageBits, staticEnabled, complete);
    if (!config.isSilent()) {
        if (plan.outcome == ReinstallOutcome::StaticInstalled) {
            showStopMessage(instance, langId, 2050, 2047);
        } else if (plan.outcome == ReinstallOutcome::NewerBuild) {
            showStopMessage(instance, langId, 2049, 2048);
        }
    }
    // A failed removal is logged beside the decision and the install goes on:
    // the service then decides about the product still there.
    for (size_t index : plan.removals) {
        msi::UninstallData request;
        if (installed[index].uninstall(request)) {
            LOG_AT_NAMED(LOG_INFO, "CheckForReinstallCase",
                         "Removed " << installed[index].toString());
        } else {
            LOG_AT_NAMED(LOG_ERROR, "CheckForReinstallCase",
                         "Could not remove " << installed[index].toString());
        }
    }
    switch (plan.outcome) {
    case ReinstallOutcome::NewerBuild:
        LOG_AT_NAMED(LOG_INFO, "CheckForReinstallCase", "Same version newer build CXR exists on the system");
        return ReinstallDecision::NewerBuildInstalled;
    case ReinstallOutcome::StaticInstalled:
        LOG_AT_NAMED(LOG_INFO, "CheckForReinstallCase", "Same version static CXR exists on the system");
        return ReinstallDecision::StaticInstalled;
    default:
        return ReinstallDecision::Continue;
    }
}

bool IsThisAFamilyUpgrade(const std::vector<InstalledCalyx>& installed, int bundleType,
                          int packageBits) {
    if (bundleType != CXR) {
        JP_THROW(std::invalid_argument("Unexpected bundle type"));
    }
    const InstalledCalyx* newest = CalyxEnvironment::newest(installed, CXR, packageBits);
    const CalyxVersion* version = newest ? &newest->fullVersion() : nullptr;
    if (!IsOlderFamily(version, CalyxVersion(CX_RUNTIME_VERSION))) {
        return false;
    }
    LOG_AT_NAMED(LOG_INFO, "IsThisAFamilyUpgrade", "This is a Family Upgrade install");
    return true;
}
