#pragma once

#include "InstalledCalyxTracker.h"
#include "UpgradeCodeIterator.h"

// The products related to the modern-scheme upgrade codes of one type and
// architecture, major version 9 first. Entries carry no version.
class InstalledCalyxTrackerBase : public InstalledCalyxTracker {
public:
    // Raises std::runtime_error when the service fails other than by
    // running out of related products.
    const InstalledProduct* next() override;

protected:
    InstalledCalyxTrackerBase(const TrackerContext& context, int type, int bits);

private:
    const ProductEnumerator& products_;
    UpgradeCodeIterator upgradeCodes_;
    // Empty between two upgrade codes.
    std::string upgradeCode_;
    DWORD index_ = 0;
    InstalledProduct current_;
};

template <int Type, int Bits>
class UpgradeCodeInstalledCalyxTracker : public InstalledCalyxTrackerBase {
public:
    explicit UpgradeCodeInstalledCalyxTracker(
        const TrackerContext& context = TrackerContext::installerService())
        : InstalledCalyxTrackerBase(context, Type, Bits) {}
};
