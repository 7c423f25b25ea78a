#include <gtest/gtest.h>

#include "RunPlan.h"

TEST(RunPlan, ChoicesBecomeThePlanOfTheInstall) {
    const auto choices = [](bool silent, bool cxs, bool remove, bool sixtyFour, bool upgrade,
                            std::optional<int> level) {
        RunChoices c;
        c.silent = silent;
        c.launchedFromCxs = cxs;
        c.removeOutOfDate = remove;
        c.process64Bit = sixtyFour;
        c.familyUpgrade = upgrade;
        c.securityLevel = level;
        return c;
    };
    using R = OutOfDateRemoval;
    using T = SecurityText;
    struct Row {
        RunChoices in;
        bool pages, takesFlag, showVerifyPage;
        R removal;
        T text;
    } rows[] = {
        {choices(false, false, false, false, false, {}), true, true, true, R::WithPages, T::Default},
        {choices(true, false, false, false, false, {}), false, true, true, R::None, T::Default},
        {choices(true, false, true, false, false, {}), false, true, true, R::Silent, T::Default},
        // The development kit's installer holds the flag and does its own removals.
        {choices(false, true, true, false, false, {}), true, false, true, R::None, T::Default},
        {choices(true, true, true, false, false, {}), false, false, true, R::None, T::Default},
        {choices(false, false, false, true, true, {}), true, true, false, R::WithPages,
         T::MediumToHighUpgrade},
        // An explicit medium level wins over the upgrade text; other levels do not.
        {choices(false, false, false, false, true, 2), true, true, true, R::WithPages, T::Medium},
        {choices(false, false, false, false, true, 3), true, true, true, R::WithPages,
         T::MediumToHighUpgrade},
        {choices(false, false, false, false, false, 2), true, true, true, R::WithPages, T::Medium},
    };
    for (const Row& row : rows) {
        const RunPlan plan = planRun(row.in);
        const int at = static_cast<int>(&row - rows);
        EXPECT_EQ(plan.pages, row.pages) << at;
        EXPECT_EQ(plan.takesFlag, row.takesFlag) << at;
        EXPECT_EQ(plan.showVerifyPage, row.showVerifyPage) << at;
        EXPECT_EQ(plan.removal, row.removal) << at;
        EXPECT_EQ(plan.securityText, row.text) << at;
        EXPECT_FALSE(plan.progressPage) << at;
    }
    RunChoices other;
    other.passive = other.removeOutOfDate = other.noVerify = other.oemUpdate = true;
    const RunPlan plan = planRun(other);
    EXPECT_TRUE(!plan.pages && plan.progressPage && plan.removal == R::Silent);
    EXPECT_FALSE(plan.verifyPageRequested || plan.showVerifyPage || plan.schedulerEntry);
    EXPECT_STREQ(uiWord(plan), "passive");
    // Without pages a passive or an interactive run asks nothing and offers no removal.
    const RunPlan fallback = planWithoutPages(other);
    EXPECT_TRUE(!fallback.pages && !fallback.progressPage && fallback.removal == R::Silent);
    EXPECT_EQ(planWithoutPages(RunChoices()).removal, R::None);
    EXPECT_STREQ(uiWord(fallback), "fallback");
    other.silent = true;
    EXPECT_FALSE(planRun(other).progressPage);
    EXPECT_STREQ(uiWord(planRun(other)), "silent");
    EXPECT_TRUE(planRun(RunChoices()).schedulerEntry);
    EXPECT_STREQ(uiWord(planRun(RunChoices())), "pages");
}
