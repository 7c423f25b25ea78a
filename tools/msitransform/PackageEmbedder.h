#pragma once

#include <string>
#include <vector>

#include "CompoundFile.h"

namespace embedding {

struct Transform {
    unsigned langId;
    cfb::Storage storage;
};

// The package with each transform as a sub-storage named by its decimal
// language id (replacing one of that name), and the summary information's
// language list naming the package's own language first, then every
// transform's.
cfb::Storage embed(cfb::Storage package, const std::vector<Transform>& transforms);

} // namespace embedding
