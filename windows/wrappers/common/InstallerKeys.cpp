#include "InstallerKeys.h"

namespace {

struct Place {
    bool agentView;
    const char* path;
};

Place placeOf(SharedKey key) {
    switch (key) {
    case SharedKey::Vendor: return {false, "SOFTWARE\\Calyxware"};
    case SharedKey::SilentInstall: return {false, "SOFTWARE\\Calyxware\\SilentInstall"};
    case SharedKey::Policy: return {true, "SOFTWARE\\Calyxware\\Calyx Update\\Policy"};
    case SharedKey::AgentVendor: return {true, "SOFTWARE\\Calyxware"};
    case SharedKey::Metrics: return {true, "Software\\CxrMetrics"};
    case SharedKey::Run: return {true, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"};
    }
    return {false, ""};
}

const Registry* testRoot = nullptr;

const Registry& rootOf(SharedKey key) {
    if (testRoot) return *testRoot;
    return placeOf(key).agentView ? Registry::localMachine(RegistryView::Bits32) : Registry::localMachine();
}

} // namespace

namespace InstallerKeys {

const char* path(SharedKey key) {
    return placeOf(key).path;
}

std::optional<Registry> find(SharedKey key, Registry::Mode mode) {
    return Registry::find(rootOf(key), path(key), mode);
}

Registry create(SharedKey key) {
    return Registry::open(rootOf(key), path(key), Registry::Mode::Write);
}

bool remove(SharedKey key) {
    return rootOf(key).deleteTree(path(key));
}

ScopedRoot::ScopedRoot(const Registry& root) : previous_(testRoot) {
    testRoot = &root;
}

ScopedRoot::~ScopedRoot() {
    testRoot = previous_;
}

} // namespace InstallerKeys
