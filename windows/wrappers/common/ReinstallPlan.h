#pragma once

#include <cstddef>
#include <vector>

#include "CalyxVersion.h"
#include "VersionText.h"

// What CheckForReinstallCase decides, computed from plain data so that it
// can be checked without installing anything.

// One installed product as the decision sees it.
struct InstalledForReinstall {
    bool runtime;          // a CXR (development kits never block or go)
    int bits;              // 32 or 64
    CalyxVersion version;  // full version, build included when known
    bool staticMode;       // installed as a static runtime
};

enum class ReinstallOutcome {
    StaticInstalled = 1,  // the same version is installed statically
    NewerBuild = 2,       // a newer build of the same version is installed
    Proceed = 3,          // install, after removing the listed products
};

struct ReinstallPlan {
    ReinstallOutcome outcome;
    std::vector<size_t> removals;  // indexes into the installed list, in order
};

// An incomplete list (some installed products could not be read) removes
// nothing: a product it misses could be the one that should block.
ReinstallPlan PlanReinstall(const std::vector<InstalledForReinstall>& installed,
                            const CalyxVersion& carried, int packageBits, bool staticEnabled,
                            bool complete = true);

// Whether the newest installed runtime of the package's kind and
// architecture belongs to an older family (major and minor) than the
// carried one; false when there is none.
bool IsOlderFamily(const CalyxVersion* newestInstalled, const CalyxVersion& carried);
