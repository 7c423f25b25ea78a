#include "RunFacts.h"

#include "CalyxEnvironment.h"
#include "Log.h"
#include "ProductType.h"
#include "SysInfo.h"
#include "au/AuMsi.h"

RunFacts RunFacts::gather() {
    RunFacts facts;
    facts.package64Bit = SysInfo::isNative64BitProcess();
    const int bits = facts.packageBits();
    facts.installed = DetectInstalledProducts();
    for (const InstalledCalyx& product : facts.installed.products) {
        if (CalyxEnvironment::accepts(CalyxEnvironment::toFilterFlags(bits), product.type(), product.bits())) {
            facts.runtimes.push_back(product);
        }
    }
    facts.familyUpgrade = IsThisAFamilyUpgrade(facts.runtimes, CXR, bits);
    if (const InstalledCalyx* old = CalyxEnvironment::newest(facts.runtimes, CXR, bits)) {
        facts.oldRuntimeVersion = old->fullVersion().toString();
    }
    if (facts.oldRuntimeVersion.empty()) {
        LOG_AT_NAMED(LOG_TRACE, "WinMain", "No Old CXR Version found");
    } else {
        LOG_AT_NAMED(LOG_TRACE, "WinMain", "Old CXR found: " << facts.oldRuntimeVersion);
    }
    const au::InstalledState agent = au::InstalledState::detect();
    if (agent.status != au::InstalledState::None) facts.agentVersion = agent.versionText;
    return facts;
}
