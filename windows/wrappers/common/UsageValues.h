#pragma once

#include <string>

// The texts one run reports in its usage ping, process-wide and touched on
// the main thread only: reset at the start of a run, then filled by the
// online options and the country lookup.
struct UsageValues {
    std::string postStatusUrl;        // empty: no address
    std::string country = "YY";       // two letters; "YY" when unknown
    std::string installMethod = "cxof";
    std::string visitorId;            // made once, by the first ping

    static UsageValues& current();
};
