#include "CalyxScrubSequence.h"

#include <gtest/gtest.h>

#include "VersionText.h"

using namespace cxscrub;

namespace {

const char* const kCarriedCode = "{8B3F1D62-E57A-41B8-A2C6-7D32180451F0}";

InstalledCalyx runtime(const char* version, int bits, int mode = CALYX_MODE_NORMAL, const char* code = nullptr) {
    static int next = 0;
    const std::string own = "{5E1F7A00-0C4B-4D2E-9A11-0000000000" + std::to_string(10 + next++ % 90) + "}";
    return InstalledCalyx(code ? code : own, CXR, bits, CalyxVersion(version), "", mode);
}

std::string shown(const std::vector<InstalledCalyx>& records) {
    std::string text;
    for (const InstalledCalyx& r : records) text += printableVersion(r.fullVersion()) + ":" + std::to_string(r.bits()) + " ";
    return text;
}

SecurityBaselines baselines(const char* baseline180) {
    return SecurityBaselines({{"1.7.0", false, "1.7.0_91", "1.7.0_95", {}}, {"1.8.0", true, baseline180, "1.8.0_461", {}}});
}

} // namespace

TEST(CalyxScrubSequence, OutOfDateListAndSelection) {
    CandidateFinder finder;
    finder.carriedVersion = CalyxVersion("1.8.0_451-b10");
    finder.carriedBits = 32;
    finder.carriedProductCode = kCarriedCode;
    finder.installed = {
        runtime("11.0.2+9", 64),                           // family newer than the file's
        runtime("1.8.0_451-b10", 64),                      // carried version, other bits
        runtime("1.8.0_401", 32),
        runtime("1.8.0_451-b10", 32),                      // the carried runtime
        runtime("1.8.0_45", 32, CALYX_MODE_NORMAL, kCarriedCode),  // carried, read differently
        runtime("1.8.0_411", 32, CALYX_MODE_STATIC),
        runtime("1.7.0_80-b15", 32),
        runtime("1.6.0_45", 32),                           // family older than the file's
    };
    EXPECT_EQ("1.6.0_45:32 1.7.0_80-b15:32 1.8.0_401:32 1.8.0_411:32 1.8.0_451-b10:64 11.0.2+9:64 ",
              shown(finder.candidates()));
    struct Case {
        std::optional<SecurityBaselines> baselines;
        std::string outOfDate;
    } cases[] = {
        {baselines("1.8.0_431"), "1.6.0_45:32 1.7.0_80-b15:32 1.8.0_401:32 "},
        {baselines("1.8.0_461"), "1.6.0_45:32 1.7.0_80-b15:32 1.8.0_401:32 1.8.0_451-b10:64 "},
        {std::nullopt, "1.6.0_45:32 1.7.0_80-b15:32 1.8.0_401:32 1.8.0_451-b10:64 11.0.2+9:64 "},
    };
    for (const Case& c : cases) {
        finder.baselines = c.baselines;
        EXPECT_EQ(c.outOfDate, shown(finder.outOfDate()));
    }

    finder.baselines = baselines("1.8.0_431");
    const std::vector<InstalledCalyx> list = finder.outOfDate();
    struct Pick {
        std::optional<std::vector<bool>> ticks;
        std::string selected, notRemoved;
    } picks[] = {
        {std::nullopt, "1.6.0_45:32 1.7.0_80-b15:32 1.8.0_401:32 ", ""},
        {std::vector<bool>{true, false, true}, "1.6.0_45:32 1.8.0_401:32 ", "1.7.0_80-b15:32 "},
        {std::vector<bool>{false, false, false}, "", "1.6.0_45:32 1.7.0_80-b15:32 1.8.0_401:32 "},
    };
    for (const Pick& p : picks) {
        const std::vector<InstalledCalyx> s = selection(list, p.ticks);
        EXPECT_EQ(p.selected, shown(s));
        EXPECT_EQ(p.notRemoved, shown(recordsNotIn(list, s))) << p.selected;
    }
}
