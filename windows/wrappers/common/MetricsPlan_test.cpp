#include <gtest/gtest.h>

#include "MetricsPlan.h"

using metrics::Stored;

TEST(MetricsPlan, OneRunsResultAgainstWhatWasStored) {
    const std::string carried = "1.8.0_451-b10";
    Stored failedBefore;
    failedBefore.machineCount = Stored::Count::Present;
    failedBefore.installAttempts = 2;
    failedBefore.newCxrVersion = carried;
    failedBefore.updateCount = 4;
    failedBefore.cxrVersion = "1.8.0_441-b07";
    Stored otherVersionFailed = failedBefore;
    otherVersionFailed.newCxrVersion = "1.8.0_441-b07";
    Stored unreadable;
    unreadable.machineCount = Stored::Count::Unreadable;
    unreadable.cxrVersion = "not a version";
    Stored current = failedBefore;
    current.cxrVersion = carried;

    const struct Row {
        const char* name;
        Stored stored;
        int result;
        bool countMachine;
        std::string machineCounted;
        int attempts, updateCount, raised, recorded;  // -1: not written
        bool forget;
    } rows[] = {
        {"first failure", Stored(), 1603, false, "ZZ", 1, 0, -1, 1, false},
        {"first success", Stored(), 0, true, "XX", 1, 1, 1, -1, true},
        {"failure again", failedBefore, 1603, false, "YY", 3, 4, -1, 3, false},
        {"failure of another version", otherVersionFailed, 1603, false, "YY", 1, 4, -1, 1, false},
        {"success raises", failedBefore, 0, false, "true", 3, 5, 5, -1, true},
        {"success of the same version", current, 0, false, "true", 3, 4, -1, -1, true},
        {"already there", failedBefore, -128, false, "YY", 3, 4, -1, -1, true},
        {"unreadable values", unreadable, 0, false, "XX", 1, 1, 1, -1, true},
    };
    for (const Row& row : rows) {
        const metrics::Plan plan = metrics::plan(row.stored, row.result, carried);
        EXPECT_EQ(plan.countMachine, row.countMachine) << row.name;
        EXPECT_EQ(plan.machineCounted, row.machineCounted) << row.name;
        EXPECT_EQ(plan.installAttempts, row.attempts) << row.name;
        EXPECT_EQ(plan.updateCount, row.updateCount) << row.name;
        EXPECT_EQ(plan.raiseUpdateCount.value_or(-1), row.raised) << row.name;
        EXPECT_EQ(plan.recordAttempts.value_or(-1), row.recorded) << row.name;
        EXPECT_EQ(plan.forgetAttempts, row.forget) << row.name;
    }
}
