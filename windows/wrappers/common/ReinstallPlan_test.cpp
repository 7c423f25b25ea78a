#include <gtest/gtest.h>

#include "ReinstallPlan.h"

namespace {

const CalyxVersion kCarried("1.8.0_451-b10");

InstalledForReinstall runtime(const char* version, int bits = 32, bool staticMode = false) {
    return {true, bits, CalyxVersion(version), staticMode};
}

} // namespace

TEST(ReinstallPlan, NothingInstalledProceedsWithoutRemovals) {
    const ReinstallPlan plan = PlanReinstall({}, kCarried, 32, false);
    EXPECT_EQ(plan.outcome, ReinstallOutcome::Proceed);
    EXPECT_TRUE(plan.removals.empty());
}

TEST(ReinstallPlan, NewerBuildOfTheSameVersionRefuses) {
    EXPECT_EQ(PlanReinstall({runtime("1.8.0_451-b11")}, kCarried, 32, false).outcome,
              ReinstallOutcome::NewerBuild);
    // A newer build on the other architecture, or a newer update, does not count.
    EXPECT_EQ(PlanReinstall({runtime("1.8.0_451-b11", 64)}, kCarried, 32, false).outcome,
              ReinstallOutcome::Proceed);
    EXPECT_EQ(PlanReinstall({runtime("1.8.0_461-b01")}, kCarried, 32, false).outcome,
              ReinstallOutcome::Proceed);
    // A development kit never blocks.
    EXPECT_EQ(PlanReinstall({{false, 32, CalyxVersion("1.8.0_451-b11"), false}}, kCarried, 32, false)
                  .outcome,
              ReinstallOutcome::Proceed);
}

TEST(ReinstallPlan, StaticSameVersionRefusesUnlessStaticIsAsked) {
    const std::vector<InstalledForReinstall> installed{runtime("1.8.0_451-b10", 32, true)};
    EXPECT_EQ(PlanReinstall(installed, kCarried, 32, false).outcome, ReinstallOutcome::StaticInstalled);
    const ReinstallPlan plan = PlanReinstall(installed, kCarried, 32, true);
    EXPECT_EQ(plan.outcome, ReinstallOutcome::Proceed);
    EXPECT_EQ(plan.removals, std::vector<size_t>{0});
}

TEST(ReinstallPlan, OlderAndEqualBuildsOfTheSameVersionAreRemovedInOrder) {
    const std::vector<InstalledForReinstall> installed{
        runtime("1.8.0_441-b07"),          // other update: kept
        runtime("1.8.0_451-b08"),          // older build: removed
        runtime("1.8.0_451-b10", 64),      // other architecture: kept
        runtime("1.8.0_451"),              // build unknown counts as older: removed
        runtime("1.8.0_451-b10"),          // the same build: removed (reinstall)
        runtime("1.8.0_451-b09", 32, true) // static, not asked: kept
    };
    const ReinstallPlan plan = PlanReinstall(installed, kCarried, 32, false);
    EXPECT_EQ(plan.outcome, ReinstallOutcome::StaticInstalled)
        << "a static install of the same version refuses before any removal";
    std::vector<InstalledForReinstall> withoutStatic(installed.begin(), installed.end() - 1);
    const ReinstallPlan proceed = PlanReinstall(withoutStatic, kCarried, 32, false);
    EXPECT_EQ(proceed.outcome, ReinstallOutcome::Proceed);
    EXPECT_EQ(proceed.removals, (std::vector<size_t>{1, 3, 4}));
}

TEST(ReinstallPlan, FamilyUpgrade) {
    const CalyxVersion older("1.7.0_80-b15");
    const CalyxVersion sameFamily("1.8.0_441-b07");
    const CalyxVersion newer("9.0.1+3");
    EXPECT_TRUE(IsOlderFamily(&older, kCarried));
    EXPECT_FALSE(IsOlderFamily(&sameFamily, kCarried));
    EXPECT_FALSE(IsOlderFamily(&newer, kCarried));
    EXPECT_FALSE(IsOlderFamily(nullptr, kCarried));
}

TEST(ReinstallPlan, IncompleteListRemovesNothingButStillRefuses) {
    struct Case {
        const char* installed;
        ReinstallOutcome outcome;
    } cases[] = {{"1.8.0_451-b08", ReinstallOutcome::Proceed},
                 {"1.8.0_451-b11", ReinstallOutcome::NewerBuild}};
    for (const Case& c : cases) {
        const ReinstallPlan plan = PlanReinstall({runtime(c.installed)}, kCarried, 32, false, false);
        EXPECT_EQ(plan.outcome, c.outcome) << c.installed;
        EXPECT_TRUE(plan.removals.empty()) << c.installed;
    }
}
