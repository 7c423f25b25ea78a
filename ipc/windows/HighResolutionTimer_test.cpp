#include <gtest/gtest.h>

#include <ipc/HighResolutionTimer.h>

#include <windows.h>

TEST(HighResolutionTimer, CountsWholeMillisecondsAndRestarts) {
    ipc::HighResolutionTimer stopwatch;
    const DWORD before = GetTickCount();
    Sleep(120);
    const std::uint64_t first = stopwatch.elapsed();
    const DWORD wall = GetTickCount() - before;
    EXPECT_GE(first, 100u);
    EXPECT_LE(first, wall + 20u);
    EXPECT_GE(stopwatch.elapsed(), first);
    stopwatch.restart();
    EXPECT_LT(stopwatch.elapsed(), first);
}
