#include "CalyxScrubSequence.h"

#include <gtest/gtest.h>

using namespace cxscrub;

namespace {

InstalledCalyx runtime(const char* version, int bits, int mode = CALYX_MODE_NORMAL, std::string code = "") {
    static int next = 0;
    if (code.empty()) code = "{5E1F7A00-0C4B-4D2E-9A11-0000000000" + std::to_string(10 + next++ % 90) + "}";
    return InstalledCalyx(code, CXR, bits, CalyxVersion(version), "", mode);
}

std::string shown(const std::vector<InstalledCalyx>& records, std::string text = "") {
    for (const InstalledCalyx& r : records) text += r.fullVersion().toString() + ":" + std::to_string(r.bits()) + " ";
    return text;
}

} // namespace

TEST(CalyxScrubSequence, OutOfDateListAndSelection) {
    const std::string carried = "{8B3F1D62-E57A-41B8-A2C6-7D32180451F0}";  // also read as 1.8.0_45
    CandidateFinder finder{{runtime("11.0.2+9", 64), runtime("1.8.0_451-b10", 64), runtime("1.8.0_401", 32),
                            runtime("1.8.0_451-b10", 32), runtime("1.8.0_45", 32, CALYX_MODE_NORMAL, carried),
                            runtime("1.8.0_411", 32, CALYX_MODE_STATIC), runtime("1.7.0_80-b15", 32), runtime("1.6.0_45", 32)},
                           CalyxVersion("1.8.0_451-b10"), 32, carried, std::nullopt};
    EXPECT_EQ("1.6.0_45:32 1.7.0_80-b15:32 1.8.0_401:32 1.8.0_411:32 1.8.0_451-b10:64 11.0.2+9:64 ", shown(finder.candidates()));
    const std::string old = "1.6.0_45:32 1.7.0_80-b15:32 1.8.0_401:32 ";
    for (const auto& c : {std::make_pair("1.8.0_431", old), std::make_pair("1.8.0_461", old + "1.8.0_451-b10:64 "),
                          std::make_pair("", old + "1.8.0_451-b10:64 11.0.2+9:64 ")}) {
        finder.baselines.reset();
        if (*c.first) finder.baselines.emplace(std::vector<BaselineFamilyEntry>{
                          {"1.7.0", false, "1.7.0_91", "1.7.0_95", {}}, {"1.8.0", true, c.first, "1.8.0_461", {}}});
        EXPECT_EQ(c.second, shown(finder.outOfDate())) << c.first;
    }
    const std::vector<InstalledCalyx> list = finder.outOfDate();  // five: the pages' ticks pick S, the rest is kept
    for (const auto& p : {std::make_pair(std::optional<std::vector<bool>>(), shown(list) + "| "), std::make_pair(std::optional<std::vector<bool>>(std::vector<bool>{true, false, true, false, false}),
                                         std::string("1.6.0_45:32 1.8.0_401:32 | 1.7.0_80-b15:32 1.8.0_451-b10:64 11.0.2+9:64 ")),
                          std::make_pair(std::optional<std::vector<bool>>(std::vector<bool>(5, false)), "| " + shown(list))}) {
        const std::vector<InstalledCalyx> s = selection(list, p.first);
        EXPECT_EQ(p.second, shown(s) + "| " + shown(recordsNotIn(list, s)));
    }
}
