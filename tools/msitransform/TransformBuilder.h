#pragma once

#include "CompoundFile.h"
#include "InstallerDatabase.h"

namespace transform {

struct Options {
    unsigned codepage = 0;          // of the transform's string pool
    std::uint32_t validation = 0;   // checks the installer makes before applying
    std::uint32_t errorConditions = 0;  // apply errors the installer ignores
};

// The transform storage that turns base into target: its own string pool, one
// stream per changed table holding the row deletions, insertions and updates,
// and its summary information. Both databases must share one schema, and no
// binary value may change; anything else raises.
cfb::Storage build(const msidb::Database& base, const msidb::Database& target, const Options& options);

} // namespace transform
