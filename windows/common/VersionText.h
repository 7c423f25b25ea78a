#pragma once

#include <string>

#include "CalyxVersion.h"

// The version's text form without its build number ("1.4.2_07" for
// 1.4.2_07-b03, "9.1.3" for 9.1.3+12). Raises for a version of no known
// scheme (a version that is not set included).
std::string versionTextWithoutBuild(const CalyxVersion& version);

// The version's text form; empty for a version that is not set or of no
// known scheme, so that log lines can always print it.
std::string printableVersion(const CalyxVersion& version);

// The first count items of the version, the others not set.
CalyxVersion leadingItems(const CalyxVersion& version, size_t count);
