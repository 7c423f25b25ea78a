#pragma once

#include <string>

#include "Registry.h"

// A private registry tree for one test process,
// <root>\Software\cxroffline-tests\<pid>, created empty and removed on
// destruction. Trees left by test processes that no longer run are removed
// first, so a crashed run leaves nothing behind for long.
class RegistryTestKey {
public:
    explicit RegistryTestKey(const Registry& root);
    ~RegistryTestKey();
    RegistryTestKey(const RegistryTestKey&) = delete;
    RegistryTestKey& operator=(const RegistryTestKey&) = delete;

    const Registry& key() const { return key_; }
    // The tree's path below the root.
    const std::string& path() const { return path_; }

private:
    const Registry& root_;
    std::string path_;
    Registry key_;
};
