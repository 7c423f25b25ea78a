#include "SecurityBaselines.h"

#include <gtest/gtest.h>

using cxscrub::BaselineFamilyEntry;
using cxscrub::SecurityBaselines;

namespace {

BaselineFamilyEntry family142(std::vector<BaselineFamilyEntry::Range> ranges = {}, bool isDefault = false) {
    return {"1.4.2", isDefault, "1.4.2_05", "1.4.2_07", ranges};
}

// Where the checks raise their own errors.
#define AT "at cxscrub::SecurityBaselines::SecurityBaselines(): "

} // namespace

// Each row: the file's families, then "version=class" (with "+" when the
// removal keeps it) for each probe, or the construction's exact error.
TEST(SecurityBaselines, FilesToClassOrError) {
    const BaselineFamilyEntry family170{"1.7.0_80", true, "1.7.0_91", "1.7.0_95", {}};
    struct Case {
        const char* name;
        std::vector<BaselineFamilyEntry> entries;
        std::vector<const char*> probes;
        std::string expected;
    } cases[] = {
        {"no ranges", {family142()}, {"1.4.2_07", "1.4.2_06", "1.4.2_08-b01", "1.4.2_04", "1.4.2_05"},
         "1.4.2_07=5+ 1.4.2_06=2+ 1.4.2_08-b01=3+ 1.4.2_04=4 1.4.2_05=2+"},
        {"one range, ends included", {family142({{"1.4.2_01", "1.4.2_03"}})},
         {"1.4.2_02", "1.4.2_01", "1.4.2_03", "1.4.2_04", "1.4.2"}, "1.4.2_02=4 1.4.2_01=4 1.4.2_03=4 1.4.2_04=1 1.4.2=1"},
        {"ranges kept ascending", {family142({{"1.4.2_03", "1.4.2_04"}, {"1.4.2_00", "1.4.2_01"}})},
         {"1.4.2_01", "1.4.2_02", "1.4.2_03"}, "1.4.2_01=4 1.4.2_02=1 1.4.2_03=4"},
        {"range above the baseline only warns", {family142({{"1.4.2_06", "1.4.2_09"}})},
         {"1.4.2_04", "1.4.2_06"}, "1.4.2_04=4 1.4.2_06=2+"},
        {"unknown families: newer kept, older and between removed", {family142(), family170},
         {"1.8.0_01", "11.0.2+9", "1.3.1_20", "1.5.0_22"}, "1.8.0_01=0+ 11.0.2+9=0+ 1.3.1_20=0 1.5.0_22=0"},
        {"empty file keeps everything", {}, {"1.4.2_01"}, "1.4.2_01=0+"},
        {"two defaults", {family142({}, true), family170}, {}, AT "Unexpected multiple default families"},
        {"latest below base", {{"1.4.2", false, "1.4.2_05", "1.4.2_04", {}}}, {},
         AT "Latest 1.4.2_04 should be upper or equal to base 1.4.2_05"},
        {"baseline of another family", {{"1.4.2_01", false, "1.5.0_05", "1.4.2_07", {}}}, {},
         AT "Expected family: 1.4.2; given version: 1.5.0_05"},
        {"range end of another family", {family142({{"1.4.2_01", "1.4.3_01"}})}, {},
         AT "Expected family: 1.4.2; given version: 1.4.3_01"},
        {"empty range", {family142({{"1.4.2_03", "1.4.2_03"}})}, {}, AT "Invalid range: min=1.4.2_03; max=1.4.2_03"},
        {"range across the baseline", {family142({{"1.4.2_04", "1.4.2_06"}})}, {},
         AT "Version range [1.4.2_04|1.4.2_06] intersects with 1.4.2_05 security baseline."},
        {"touching ranges", {family142({{"1.4.2_01", "1.4.2_02"}, {"1.4.2_02", "1.4.2_03"}})}, {},
         AT "Version range [1.4.2_02|1.4.2_03] overlaps with another range."},
        {"range around a kept one", {family142({{"1.4.2_02", "1.4.2_03"}, {"1.4.2_01", "1.4.2_04"}})}, {},
         AT "Version range [1.4.2_01|1.4.2_04] overlaps with another range."},
        {"missing baseline", {{"1.4.2", false, "", "1.4.2_07", {}}}, {}, "The string is too short"},
        {"family of no scheme", {{"2.5.6", false, "2.5.6", "2.5.6", {}}}, {}, "unknown version tag"},
    };
    for (const Case& c : cases) {
        std::string got;
        try {
            const SecurityBaselines baselines(c.entries);
            for (const char* probe : c.probes) {
                const CalyxVersion version(probe);
                got += (got.empty() ? "" : " ") + std::string(probe) + "=" +
                       std::to_string(baselines.classify(version)) + (baselines.isCurrent(version) ? "+" : "");
            }
        } catch (const std::runtime_error& e) {
            got = e.what();
        }
        EXPECT_NE(got.find(c.expected), std::string::npos) << c.name << ": " << got;
    }
}
