#pragma once

#include <string>
#include <utility>
#include <vector>

#include "InstalledCalyx.h"
#include "UpdateConf.h"

namespace cxscrub {

// What one out-of-date removal did, for the usage ping.
class CalyxScrubPingData : public RemovalPingSource {
public:
    std::vector<InstalledCalyx> notRemoved;  // out of date, kept by the user
    std::vector<InstalledCalyx> installed;   // every runtime but the carried one
    std::vector<std::pair<InstalledCalyx, int>> removals;  // result 1 removed, 0 failed
    bool isDrs = false;
    bool isIgnoredByUser = false;

    void addUninstalledVersion(const InstalledCalyx& record, int result);
    void setIsDRS(bool flag);
    void setIsIgnoredByUser();
    // installed that was neither removed nor kept, in installed order.
    std::vector<InstalledCalyx> calculateSecureVersions() const;
    // "uncxr~code~version:bits;" tokens and one "uninstaller~status;"
    // token; empty when no other runtime is installed.
    std::string createUninstallPing() const override;
};

} // namespace cxscrub
