#include <gtest/gtest.h>

#include <ipc/Timer.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "TestSupport.h"

namespace {

struct Counter : ipc::Timer::Runnable {
    explicit Counter(int stopAt = 0, bool raise = false) : stopAt(stopAt), raise(raise) {}
    void run(ipc::Timer& timer) override {
        inside = true;
        const int n = ++calls;
        if (raise) {
            inside = false;
            throw std::runtime_error("tick failed");
        }
        if (n == stopAt) {
            timer.stop();
        }
        inside = false;
    }
    bool reached(int n, unsigned ms) {
        for (unsigned waited = 0; waited < ms && calls < n; waited += 5) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return calls >= n;
    }
    const int stopAt;
    const bool raise;
    std::atomic<int> calls{0};
    std::atomic<bool> inside{false};
};

} // namespace

TEST(Timer, RunnableThatStopsInItsFirstCallRunsOnce) {
    Counter c(1);
    {
        ipc::Timer timer(c, 10);
        ASSERT_TRUE(c.reached(1, 5000));
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    EXPECT_EQ(c.calls, 1);
}

TEST(Timer, RunsAgainAfterEachPauseUntilDestroyed) {
    Counter c;
    {
        ipc::Timer timer(c, 10);
        EXPECT_TRUE(c.reached(4, 5000));
    }
    const int atEnd = c.calls;
    EXPECT_FALSE(c.inside);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(c.calls, atEnd);
}

TEST(Timer, PauseSeparatesTheCalls) {
    Counter c;
    {
        ipc::Timer timer(c, 1000);
        ASSERT_TRUE(c.reached(1, 5000));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(c.calls, 1);
    }
}

TEST(Timer, RaisingRunnableEndsTheTimerWithOneLogRecord) {
    Counter c(0, true);
    {
        ipc::Timer timer(c, 10);
        ASSERT_TRUE(c.reached(1, 5000));
    }
    EXPECT_EQ(c.calls, 1);
    const std::string log = testsupport::readFile(testsupport::tempDir() + "\\cxtimer.log");
    EXPECT_NE(log.find("tick failed' caught"), std::string::npos) << log;
}
