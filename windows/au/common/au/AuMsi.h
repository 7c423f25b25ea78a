#pragma once

#include <cstdint>
#include <string>

#include "CalyxVersion.h"
#include "Version.h"

namespace au {

// "{7C51D2E8-93B4-4F6A-A1C0-5E2D9B7F3A64}", the same for every agent version.
extern const char* const kAgentProductCode;

// The update agent found on this machine.
class InstalledState {
public:
    enum Status {
        None = 0,        // no agent found
        Whole = 1,       // registered and its three programs present
        Incomplete = 2,  // registered, a program missing
    };

    Version version{0, 0, 0, 0};
    std::string versionText;
    int32_t status = None;

    // The installer service's "ProductVersion" of the agent, else
    // "AUVersion" of HKLM32 "SOFTWARE\Calyxware\Auto Update"; then the
    // programs in the agent folder. Never raises.
    static InstalledState detect();
};

// What installing the carried agent does, decided from the installed one.
struct InstallPlan {
    bool refuse = false;          // answer -2: not older than the carried agent
    bool keepSettings = false;    // carry schedule and notification type over
    bool protectedSettings = false; // the installed agent reads protected values
    bool removeFirst = false;     // remove the installed agent before installing
};

InstallPlan planInstall(const InstalledState& installed, const Version& carried);

// Whether removing the agent goes ahead. Without force an agent stays while
// the newest runtime (null: none) is 1.6.0_18 or older, which needs it.
bool shouldRemove(const InstalledState& installed, bool force, const CalyxVersion* newestRuntime);

namespace msi {

struct InstallRequest {
    std::string packagePath;
    bool oemUpdate = false;
    bool autoUpdateEnabled = true;
};

// Installs the carried agent, keeping the user's settings: 0 installed,
// -2 not upgradeable, the service's status when it failed, -1 otherwise.
int install(const InstallRequest& request);

// Removes the installed agent (see shouldRemove); failures are logged.
void uninstall(bool force);

} // namespace msi

} // namespace au
