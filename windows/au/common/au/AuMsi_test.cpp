#include <gtest/gtest.h>

#include "AuMsi.h"

static au::InstalledState agent(int status, const char* version) {
    au::InstalledState state;
    state.status = status;
    state.version = Version(version);
    state.versionText = version;
    return state;
}

TEST(AuMsi, PlanFollowsTheInstalledAgent) {
    const Version carried("2.8.451.10");
    struct Case {
        const char* name; int status; const char* version; bool refuse, keep, protectedValues, removeFirst;
    };
    const Case cases[] = {
        {"none", 0, "0.0.0.0", false, false, false, false},
        {"equal", 1, "2.8.451.10", true, false, false, false},
        {"newer", 1, "3.0.0.1", true, false, false, false},
        {"older, plain values", 1, "2.7.0.5", false, true, false, true},
        {"older, protected values", 1, "2.8.0.0", false, true, true, true},
        {"newer but incomplete", 2, "3.0.0.1", false, false, false, true},
    };
    for (const Case& c : cases) {
        const au::InstallPlan plan = au::planInstall(agent(c.status, c.version), carried);
        EXPECT_EQ(plan.refuse, c.refuse) << c.name;
        EXPECT_EQ(plan.keepSettings, c.keep) << c.name;
        EXPECT_EQ(plan.protectedSettings, c.protectedValues) << c.name;
        EXPECT_EQ(plan.removeFirst, c.removeFirst) << c.name;
    }
}

TEST(AuMsi, RemovalKeepsTheAgentOldRuntimesNeed) {
    const CalyxVersion old("1.6.0_18");
    const CalyxVersion newer("1.6.0_19");
    struct Case {
        const char* name; int status; const char* version; bool force; const CalyxVersion* runtime; bool removed;
    };
    const Case cases[] = {
        {"nothing installed", 0, "0.0.0.0", true, nullptr, false},
        {"major version 1", 1, "1.9.0.0", true, nullptr, false},
        {"forced", 1, "2.7.0.5", true, &old, true},
        {"runtime 1.6.0_18 needs it", 1, "2.7.0.5", false, &old, false},
        {"newer runtime", 2, "2.7.0.5", false, &newer, true},
        {"no runtime", 1, "2.7.0.5", false, nullptr, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(au::shouldRemove(agent(c.status, c.version), c.force, c.runtime), c.removed) << c.name;
    }
}
