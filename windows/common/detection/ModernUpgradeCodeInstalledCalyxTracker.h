#pragma once

#include <memory>

#include "InstalledCalyxTracker.h"

// The products of every modern-scheme upgrade code: CXR then CXS of
// 32 bits, then, on a 64-bit Windows, CXR then CXS of 64 bits.
class ModernUpgradeCodeInstalledCalyxTracker : public InstalledCalyxTracker {
public:
    explicit ModernUpgradeCodeInstalledCalyxTracker(
        const TrackerContext& context = TrackerContext::installerService());

    const InstalledProduct* next() override { return group_->next(); }

private:
    std::unique_ptr<InstalledCalyxTracker> group_;
};
