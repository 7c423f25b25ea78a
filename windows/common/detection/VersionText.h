#pragma once

#include <cstddef>
#include <string>

#include "CalyxVersion.h"

// The version with every item from index keep on cleared.
CalyxVersion keepItems(const CalyxVersion& version, size_t keep);

// The version without its build number: 1.4.2_07 of 1.4.2_07-b03, 9.1.3 of
// 9.1.3+12.
CalyxVersion withoutBuild(const CalyxVersion& version);

// The version's text form; empty for a version that is not set or of no
// known scheme, so that log lines can always print it.
std::string printableVersion(const CalyxVersion& version);
