#include "SecurityBaselines.h"

#include <algorithm>

#include "Log.h"

namespace cxscrub {

namespace {

const char* const kWhere = "cxscrub::SecurityBaselines::SecurityBaselines";

[[noreturn]] void fail(const std::string& message) {
    JP_THROW_NAMED(std::runtime_error(message), kWhere);
}

// The version of the text, which must belong to family.
CalyxVersion memberOf(const CalyxVersion& family, const std::string& text) {
    const CalyxVersion version(text);
    if (familyOf(version) != family) {
        fail("Expected family: " + family.toString() + "; given version: " + text);
    }
    return version;
}

} // namespace

CalyxVersion familyOf(const CalyxVersion& version) {
    const int tag = version.tag();
    if (tag != CalyxVersionDetails::LEGACY && tag != CalyxVersionDetails::MODERN) {
        CalyxVersion::throwUnrecognizedVersionType();
    }
    return CalyxVersion(std::array<int, 6>{{tag, version.item(1), version.item(2), -1, -1, -1}});
}

SecurityBaselines::SecurityBaselines(const std::vector<BaselineFamilyEntry>& entries) {
    for (const BaselineFamilyEntry& entry : entries) {
        const CalyxVersion family = familyOf(CalyxVersion(entry.id));
        if (entry.isDefault) {
            if (defaultFamily.count() != 0) fail("Unexpected multiple default families");
            defaultFamily = family;
        }
        if (newestFamily < family) newestFamily = family;

        Family kept;
        kept.baseline = memberOf(family, entry.baseline);
        kept.latest = memberOf(family, entry.latest);
        if (kept.latest < kept.baseline) {
            fail("Latest " + entry.latest + " should be upper or equal to base " + entry.baseline);
        }
        for (const BaselineFamilyEntry::Range& range : entry.ranges) {
            const std::string shown = "[" + range.min + "|" + range.max + "]";
            const CalyxVersion min(range.min);
            const CalyxVersion max(range.max);
            if (!(max > min)) fail("Invalid range: min=" + range.min + "; max=" + range.max);
            memberOf(family, range.min);
            memberOf(family, range.max);
            if (min >= kept.baseline) {
                LOG_AT_NAMED(LOG_WARNING, kWhere,
                             "Ignore version range " << shown << " as it is completely above "
                                                     << entry.baseline << " security baseline.");
                continue;
            }
            if (max >= kept.baseline) {
                fail("Version range " + shown + " intersects with " + entry.baseline +
                     " security baseline.");
            }
            for (size_t i = 0; i + 1 < kept.ranges.size(); i += 2) {
                if (!(max < kept.ranges[i] || kept.ranges[i + 1] < min)) {
                    fail("Version range " + shown + " overlaps with another range.");
                }
            }
            kept.ranges.insert(std::upper_bound(kept.ranges.begin(), kept.ranges.end(), min), {min, max});
        }
        families[family] = kept;
    }
}

int SecurityBaselines::classify(const CalyxVersion& version) const {
    const auto found = families.find(familyOf(version));
    if (found == families.end()) return UNKNOWN_FAMILY;
    const Family& family = found->second;
    if (family.baseline <= version) {
        return version == family.latest ? LATEST : version > family.latest ? NEWER : CURRENT;
    }
    if (family.ranges.empty()) return BELOW_BASELINE;
    // Kept ranges never touch, so a boundary hit or an odd position (after a
    // min, before its max) is inside.
    const auto at = std::lower_bound(family.ranges.begin(), family.ranges.end(), version);
    const bool inside = (at != family.ranges.end() && *at == version) ||
                        (at - family.ranges.begin()) % 2 == 1;
    return inside ? BELOW_BASELINE : OUTSIDE_RANGES;
}

bool SecurityBaselines::isCurrent(const CalyxVersion& version) const {
    switch (classify(version)) {
    case CURRENT:
    case NEWER:
    case LATEST:
        return true;
    case UNKNOWN_FAMILY:
        return familyOf(version) > newestFamily;
    default:
        return false;
    }
}

SecurityBaselines carriedBaselines(const CalyxVersion& carried) {
    BaselineFamilyEntry entry;
    entry.id = carried.toString();
    entry.isDefault = true;
    entry.baseline = entry.latest = carried.toString();
    return SecurityBaselines({entry});
}

} // namespace cxscrub
