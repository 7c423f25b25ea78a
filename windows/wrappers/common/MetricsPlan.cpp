#include "MetricsPlan.h"

#include <algorithm>
#include <climits>

#include "CalyxVersion.h"
#include "Log.h"

namespace {

std::optional<CalyxVersion> parsedVersion(const std::string& text) {
    try {
        return CalyxVersion(text);
    } catch (const std::exception& e) {
        // Counts as no version: the metrics start again from this one.
        LOG_AT_NAMED(LOG_WARNING, "GetUpdatedCxrMetrics", e.what());
        return std::nullopt;
    }
}

} // namespace

namespace metrics {

Plan plan(const Stored& stored, int installResult, const std::string& carriedVersion) {
    Plan out;
    if (stored.machineCount == Stored::Count::Absent) {
        out.countMachine = installResult == 0;
        if (installResult != 0) out.machineCounted = "ZZ";
    } else if (stored.machineCount == Stored::Count::Present) {
        out.machineCounted = installResult == 0 ? "true" : "YY";
    }

    const std::optional<CalyxVersion> carried = parsedVersion(carriedVersion);
    if (stored.installAttempts && stored.newCxrVersion && carried &&
        parsedVersion(*stored.newCxrVersion) == carried && *stored.installAttempts < INT_MAX) {
        out.installAttempts = static_cast<int>(*stored.installAttempts) + 1;
    }

    int updateCount = stored.updateCount ? static_cast<int>(std::min<uint32_t>(*stored.updateCount, INT_MAX - 1)) : -1;
    if (installResult == 0) {
        const std::optional<CalyxVersion> installed =
            stored.cxrVersion ? parsedVersion(*stored.cxrVersion) : std::nullopt;
        if (!installed || (carried && *installed < *carried)) {
            // An unreadable count starts at zero: the first raise counts as one.
            updateCount = std::max(updateCount, 0) + 1;
            out.raiseUpdateCount = updateCount;
        }
    }
    if (installResult == 0 || installResult == -128) {
        out.forgetAttempts = true;
    } else {
        out.recordAttempts = out.installAttempts;
    }
    out.updateCount = std::max(updateCount, 0);
    return out;
}

} // namespace metrics
