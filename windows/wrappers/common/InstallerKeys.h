#pragma once

#include <optional>
#include <string>

#include "Registry.h"

// The registry keys the installer shares with its package, the update agent
// and later runs, each in the one view that every reader and writer uses:
// the vendor key and its "SilentInstall" marker in the view of the package
// this build carries (the package writes its status there); the update
// agent's keys in the 32-bit view the agent itself reads.
enum class SharedKey {
    Vendor,         // "SOFTWARE\Calyxware": status values, options address
    SilentInstall,  // present while a silent run installs
    Policy,         // "SOFTWARE\Calyxware\Calyx Update\Policy"
    AgentVendor,    // "SOFTWARE\Calyxware" as the agent sees it: "OEMUPDATE"
    Metrics,        // "Software\CxrMetrics"
    Run,            // the scheduler's start-up entry
};

namespace InstallerKeys {

// The key's path below its root.
const char* path(SharedKey key);

// Opens the key when it exists; nullopt when it does not. Raises for any
// other failure.
std::optional<Registry> find(SharedKey key, Registry::Mode mode = Registry::Mode::Read);

// Opens the key, creating it when missing; raises on failure.
Registry create(SharedKey key);

// Deletes the key with everything below it; false when it did not exist.
bool remove(SharedKey key);

// For tests: while one lives, every shared key lies below root instead of
// the machine's HKLM, in both views.
class ScopedRoot {
public:
    explicit ScopedRoot(const Registry& root);
    ~ScopedRoot();
    ScopedRoot(const ScopedRoot&) = delete;
    ScopedRoot& operator=(const ScopedRoot&) = delete;

private:
    const Registry* previous_;
};

} // namespace InstallerKeys
