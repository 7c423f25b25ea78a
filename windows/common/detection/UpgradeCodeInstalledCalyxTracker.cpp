#include "UpgradeCodeInstalledCalyxTracker.h"

#include "GuidText.h"
#include "MsiError.h"

InstalledCalyxTrackerBase::InstalledCalyxTrackerBase(const TrackerContext& context, int type,
                                                     int bits)
    : products_(context.products), upgradeCodes_(type, bits) {
    current_.type = type;
    current_.bits = bits;
}

const InstalledProduct* InstalledCalyxTrackerBase::next() {
    for (;;) {
        if (upgradeCode_.empty()) {
            const GUID code = upgradeCodes_.next();
            if (code == GUID{}) return nullptr;
            upgradeCode_ = guidToText(code);
            index_ = 0;
        }
        std::optional<std::string> related;
        try {
            related = products_.relatedProduct(upgradeCode_, index_);
        } catch (const msi::Error& e) {
            JP_THROW_MSG("MsiEnumRelatedProducts(" + upgradeCode_ + ", " +
                         std::to_string(index_) + ") failed with error=[" +
                         std::to_string(e.getStatus()) + "]");
        }
        ++index_;
        if (!related) {
            upgradeCode_.clear();
            continue;
        }
        current_.productCode = *related;
        return &current_;
    }
}
