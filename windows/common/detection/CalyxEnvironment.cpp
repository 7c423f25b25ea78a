#include "CalyxEnvironment.h"

#include "GuidText.h"
#include "InstalledCalyxTrackers.h"
#include "Log.h"
#include "VersionText.h"

CalyxEnvironment::CalyxEnvironment(const DetectionFacts& facts)
    : facts_(facts), context_{facts, facts.is64BitOs()}, probe_(facts) {}

std::vector<InstalledCalyx> CalyxEnvironment::detect(unsigned filter, bool* complete) const {
    std::vector<InstalledCalyx> found;
    if (complete) *complete = true;
    AllInstalledCalyxTracker tracker(context_);
    try {
        while (const InstalledProduct* entry = tracker.next()) {
            LOG_TRACE("Installed Calyx detected:"
                      << " version=" << printableVersion(entry->version) << "; arch="
                      << entry->bits << "; productCode=" << entry->productCode
                      << "; type=" << productTypeName(entry->type));
            try {
                const InstalledProduct product = completed(*entry);
                if (accepts(filter, product.type, product.bits)) {
                    found.push_back(probe_.getInstalledCalyx(product));
                }
            } catch (const std::exception& e) {
                REPORT_CAUGHT(e);
            }
        }
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        if (complete) *complete = false;
    }
    return found;
}

std::vector<InstalledCalyx> CalyxEnvironment::detectRuntimes(int bits) const {
    return detect(toFilterFlags(bits));
}

InstalledCalyx CalyxEnvironment::fromMsi(const std::string& packagePath) const {
    return fromProductCode(facts_.packageProperty(packagePath, "ProductCode"));
}

InstalledCalyx CalyxEnvironment::fromProductCode(const std::string& productCode) const {
    const GUID wanted = guidFromText(productCode);
    AllInstalledCalyxTracker tracker(context_);
    while (const InstalledProduct* entry = tracker.next()) {
        if (guidFromText(entry->productCode) == wanted) {
            return probe_.getInstalledCalyx(completed(*entry));
        }
    }
    JP_THROW_MSG("No matching Calyx found for " + productCode + " Product Code");
}

unsigned CalyxEnvironment::toFilterFlags(int bits) {
    switch (bits) {
    case 32: return FILTER_CXR | FILTER_32BIT;
    case 64: return FILTER_CXR | FILTER_64BIT;
    default: JP_THROW_MSG("unexpected arch: " + std::to_string(bits));
    }
}

bool CalyxEnvironment::accepts(unsigned filter, int type, int bits) {
    // The type flags are 1 << type.
    const unsigned typeFlag = (type >= CXR && type <= GLINT) ? 1u << type : 0u;
    const unsigned bitsFlag = bits == 32   ? unsigned(FILTER_32BIT)
                              : bits == 64 ? unsigned(FILTER_64BIT)
                                           : 0u;
    return (filter & typeFlag) != 0 && (filter & bitsFlag) != 0;
}

const InstalledCalyx* CalyxEnvironment::newest(const std::vector<InstalledCalyx>& products,
                                               int type, int bits) {
    const InstalledCalyx* best = nullptr;
    for (const InstalledCalyx& product : products) {
        if (product.type() != type || product.bits() != bits) continue;
        if (!best || product.fullVersion() > best->fullVersion()) best = &product;
    }
    return best;
}

InstalledProduct CalyxEnvironment::completed(const InstalledProduct& entry) const {
    InstalledProduct product = entry;
    if (product.type < 0) product.type = probe_.detectType(product.productCode);
    if (product.bits == 0) product.bits = probe_.detectBits(product.productCode);
    return product;
}
