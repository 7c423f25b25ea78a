#pragma once

#include <windows.h>

#include <vector>

#include "InstallConfigData.h"
#include "InstalledCalyx.h"

// The installed runtimes and kits of both architectures, detected once
// before the decisions (complete: every product could be read).
struct InstalledProducts {
    std::vector<InstalledCalyx> products;
    bool complete = true;
};
InstalledProducts DetectInstalledProducts();

// Whether the carried build may go over what is installed. Continue: older
// builds of the same version were removed.
enum class ReinstallDecision { Continue, NewerBuildInstalled, StaticInstalled };
ReinstallDecision CheckForReinstallCase(const InstallConfigData& config, HINSTANCE instance, unsigned langId,
                          int packageBits, const InstalledProducts& installed);

// Whether the newest installed runtime of the package's architecture is of
// an older family than the carried one. Only the runtime kind is accepted.
bool IsThisAFamilyUpgrade(const std::vector<InstalledCalyx>& installed, int bundleType,
                          int packageBits);
