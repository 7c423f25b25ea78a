#include "SecurityBaselines.h"

#include <gtest/gtest.h>

using cxscrub::BaselineFamilyEntry;
#define AT "at cxscrub::SecurityBaselines::SecurityBaselines(): "

// Rows: families, then "version=class" ("+": the removal keeps it) per probe, or the exact error.
TEST(SecurityBaselines, FilesToClassOrError) {
    const auto f142 = [](std::vector<BaselineFamilyEntry::Range> r = {}, bool d = false) {
        return BaselineFamilyEntry{"1.4.2", d, "1.4.2_05", "1.4.2_07", r};
    };
    const BaselineFamilyEntry f170{"1.7.0_80", true, "1.7.0_91", "1.7.0_95", {}};
    struct Case { std::vector<BaselineFamilyEntry> entries; std::vector<const char*> probes; std::string expected; } cases[] = {
        {{f142()}, {"1.4.2_07", "1.4.2_06", "1.4.2_08-b01", "1.4.2_04", "1.4.2_05"}, "_07=5+ _06=2+ _08-b01=3+ _04=4 _05=2+"},
        {{f142({{"1.4.2_03", "1.4.2_04"}, {"1.4.2_00", "1.4.2_01"}})}, {"1.4.2_01", "1.4.2_02", "1.4.2_03", "1.4.2"},
         "_01=4 _02=1 _03=4 1.4.2=1"},
        {{f142({{"1.4.2_06", "1.4.2_09"}})}, {"1.4.2_04", "1.4.2_06"}, "_04=4 _06=2+"},  // ignored with a warning
        {{f142(), f170}, {"1.8.0_01", "11.0.2+9", "1.3.1_20", "1.5.0_22"}, "1.8.0_01=0+ 11.0.2+9=0+ 1.3.1_20=0 1.5.0_22=0"},
        {{f142({}, true), f170}, {}, AT "Unexpected multiple default families"},
        {{{"1.4.2", false, "1.4.2_05", "1.4.2_04", {}}}, {}, AT "Latest 1.4.2_04 should be upper or equal to base 1.4.2_05"},
        {{{"1.4.2_01", false, "1.5.0_05", "1.4.2_07", {}}}, {}, AT "Expected family: 1.4.2; given version: 1.5.0_05"},
        {{f142({{"1.4.2_03", "1.4.2_03"}})}, {}, AT "Invalid range: min=1.4.2_03; max=1.4.2_03"},
        {{f142({{"1.4.2_04", "1.4.2_06"}})}, {}, AT "Version range [1.4.2_04|1.4.2_06] intersects with 1.4.2_05 security baseline."},
        {{f142({{"1.4.2_01", "1.4.2_02"}, {"1.4.2_02", "1.4.2_03"}})}, {}, AT "Version range [1.4.2_02|1.4.2_03] overlaps with another range."},
        {{{"2.5.6", false, "2.5.6", "2.5.6", {}}}, {}, "unknown version tag"},
    };
    for (const Case& c : cases) {
        std::string got;
        try {
            const cxscrub::SecurityBaselines baselines(c.entries);
            for (const std::string probe : c.probes) {
                const CalyxVersion v(probe);
                got += (got.empty() ? "" : " ") + (probe.rfind("1.4.2_", 0) == 0 ? probe.substr(5) : probe) + "=" +
                       std::to_string(baselines.classify(v)) + (baselines.isCurrent(v) ? "+" : "");
            }
        } catch (const std::runtime_error& e) {
            got = e.what();
        }
        EXPECT_NE(got.find(c.expected), std::string::npos) << c.expected << "\ngot: " << got;
    }
}

TEST(SecurityBaselines, CarriedOnesKeepTheCarriedAndNewerFamiliesOnly) {
    const cxscrub::SecurityBaselines carried = cxscrub::carriedBaselines(CalyxVersion("1.8.0_451-b10"));
    std::string got;
    for (const char* probe : {"1.8.0_451-b10", "1.8.0_461", "1.8.0_421", "1.7.0_80", "11.0.2+9"}) {
        got += std::string(" ") + probe + (carried.isCurrent(CalyxVersion(probe)) ? "+" : "");
    }
    EXPECT_EQ(got, " 1.8.0_451-b10+ 1.8.0_461+ 1.8.0_421 1.7.0_80 11.0.2+9+");
}
