#include <gtest/gtest.h>

#include <vector>

#include "ServiceBusyWait.h"

TEST(ServiceBusyWait, RetriesOnlyWhileBusyAndWithinTheBound) {
    struct Case {
        const char* name;
        int boundMs;  // -1: a silent run's, -2: a run the user sees
        unsigned busyAnswers;
        UINT thenStatus;  // 0: installs
        UINT raised;
        std::vector<unsigned> slept;
    } cases[] = {
        {"silent run, freed in time", -1, 2, 0, 0, {5000, 5000}},
        {"run the user sees", -2, 1, 0, 1618, {}},
        {"stays busy, last poll shortened", 12000, 99, 0, 1618, {5000, 5000, 2000}},
        {"failure after the wait", 12000, 1, 1603, 1603, {5000}},
    };
    for (const Case& c : cases) {
        std::vector<unsigned> slept;
        const auto sleep = [&slept](unsigned ms) { slept.push_back(ms); };
        const ServiceBusyWait wait = c.boundMs < 0 ? ServiceBusyWait::forRun(c.boundMs == -1, sleep)
                                                   : ServiceBusyWait(c.boundMs, 5000, sleep);
        unsigned calls = 0;
        UINT raised = 0;
        try {
            wait.install(msi::InstallData(), [&](const msi::InstallData&) {
                if (calls++ < c.busyAnswers) throw msi::Error(1618, "busy");
                if (c.thenStatus != 0) throw msi::Error(c.thenStatus, "failed");
            });
        } catch (const msi::Error& e) {
            raised = e.getStatus();
        }
        EXPECT_EQ(raised, c.raised) << c.name;
        EXPECT_EQ(slept, c.slept) << c.name;
    }
}
