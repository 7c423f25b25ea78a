#pragma once

#include <string>
#include <vector>

#include "InstalledCalyx.h"
#include "ReinstallCase.h"

// What the machine held when the run began. Read once: nothing installs or
// removes a product before the package runs.
struct RunFacts {
    bool package64Bit = false;  // a 32-bit build always carries the 32-bit package
    InstalledProducts installed;
    std::vector<InstalledCalyx> runtimes;  // of the package's architecture
    bool familyUpgrade = false;
    std::string oldRuntimeVersion;    // empty: none installed
    std::string agentVersion = "XX";  // "XX": no update agent

    int packageBits() const { return package64Bit ? 64 : 32; }

    // Detects the installed products and the update agent.
    static RunFacts gather();
};
