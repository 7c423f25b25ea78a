#pragma once

#include <map>
#include <string>
#include <vector>

#include "CalyxVersion.h"

namespace cxscrub {

// The version's family: its first three items (1.4.2 of 1.4.2_07, 11.0 of
// 11.0.2+9). Raises "unknown version tag" for a scheme without families.
CalyxVersion familyOf(const CalyxVersion& version);

// One "family" element of the baselines file, as text.
struct BaselineFamilyEntry {
    struct Range {
        std::string min;
        std::string max;
    };
    std::string id;
    bool isDefault = false;
    std::string baseline;  // empty when the element is missing
    std::string latest;
    std::vector<Range> ranges;
};

// Per version family, the lowest version still secure and the newest one,
// as the vendor publishes them.
class SecurityBaselines {
public:
    struct Family {
        CalyxVersion latest;
        CalyxVersion baseline;
        // min0, max0, min1, max1, ... ascending; ranges below the baseline
        // that are still judged out of date.
        std::vector<CalyxVersion> ranges;
    };

    // Classes of a version.
    enum Class {
        UNKNOWN_FAMILY = 0,
        OUTSIDE_RANGES = 1,  // below the baseline, outside every range
        CURRENT = 2,         // at or above the baseline, older than latest
        NEWER = 3,           // newer than latest
        BELOW_BASELINE = 4,  // below the baseline: no ranges, or inside one
        LATEST = 5,
    };

    // Checks the entries in order; the first fault raises a located
    // std::runtime_error and nothing is kept.
    explicit SecurityBaselines(const std::vector<BaselineFamilyEntry>& entries);

    int classify(const CalyxVersion& version) const;

    // Not to be removed: classes 2, 3 and 5, and an unknown family newer
    // than every family of the file.
    bool isCurrent(const CalyxVersion& version) const;

    std::map<CalyxVersion, Family> families;
    CalyxVersion defaultFamily;  // not set when no family is the default
    CalyxVersion newestFamily;   // not set when the file has no family
};

// For a machine that cannot reach the vendor's file: the carried version is
// the baseline and the latest version of its family, the family is the
// default, and no other family is known.
SecurityBaselines carriedBaselines(const CalyxVersion& carried);

} // namespace cxscrub
