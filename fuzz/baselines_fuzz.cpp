// Any family list either raises or yields baselines whose classes agree
// with the file: ranges ascending, apart and below the baseline; the
// baseline current, the latest latest, every range boundary below baseline.
// One family per line: id|default|baseline|latest|min,max;min,max...
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "SecurityBaselines.h"

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
    return parts;
}

void check(bool holds) {
    if (!holds) abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using cxscrub::SecurityBaselines;
    std::vector<cxscrub::BaselineFamilyEntry> entries;
    for (const std::string& line : split(std::string(reinterpret_cast<const char*>(data), size), '\n')) {
        std::vector<std::string> fields = split(line, '|');
        fields.resize(5);
        cxscrub::BaselineFamilyEntry entry{fields[0], fields[1] == "1", fields[2], fields[3], {}};
        for (const std::string& range : split(fields[4], ';')) {
            const size_t comma = range.find(',');
            entry.ranges.push_back({range.substr(0, comma), comma == std::string::npos ? "" : range.substr(comma + 1)});
        }
        entries.push_back(entry);
    }
    try {
        const SecurityBaselines baselines(entries);
        for (const auto& kept : baselines.families) {
            const SecurityBaselines::Family& family = kept.second;
            check(baselines.classify(family.latest) == SecurityBaselines::LATEST);
            check(family.baseline == family.latest || baselines.classify(family.baseline) == SecurityBaselines::CURRENT);
            check(family.ranges.size() % 2 == 0);
            for (size_t i = 0; i < family.ranges.size(); ++i) {
                check(family.ranges[i] < family.baseline);
                check(i == 0 || family.ranges[i - 1] < family.ranges[i]);
                check(baselines.classify(family.ranges[i]) == SecurityBaselines::BELOW_BASELINE);
            }
        }
    } catch (const std::exception&) {
    }
    return 0;
}
