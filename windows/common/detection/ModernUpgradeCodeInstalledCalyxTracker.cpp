#include "ModernUpgradeCodeInstalledCalyxTracker.h"

#include "GroupTracker.h"
#include "UpgradeCodeInstalledCalyxTracker.h"

namespace {

typedef GroupTracker<UpgradeCodeInstalledCalyxTracker<CXR, 32>,
                     UpgradeCodeInstalledCalyxTracker<CXS, 32>>
    Group32;
typedef GroupTracker<UpgradeCodeInstalledCalyxTracker<CXR, 64>,
                     UpgradeCodeInstalledCalyxTracker<CXS, 64>>
    Group64;

} // namespace

ModernUpgradeCodeInstalledCalyxTracker::ModernUpgradeCodeInstalledCalyxTracker(
    const TrackerContext& context)
    : group_(context.is64BitOs
                 ? std::unique_ptr<InstalledCalyxTracker>(new GroupTracker<Group32, Group64>(context))
                 : std::unique_ptr<InstalledCalyxTracker>(new Group32(context))) {}
