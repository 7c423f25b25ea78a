// The timer runs on an ipc::Timer thread, which only the Windows build has.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "ChunkedProgress.h"
#include "RecordingProgress.h"
#include "ThreadOperationTimer.h"

using progress::ChunkedProgress;

namespace {

typedef std::vector<unsigned> Positions;

bool reaches(const progress::RecordingProgress& target, size_t count, DWORD ms) {
    for (DWORD waited = 0; waited < ms && target.getPositions().size() < count; waited += 10) {
        Sleep(10);
    }
    return target.getPositions().size() >= count;
}

} // namespace

TEST(ThreadOperationTimer, FillsTheChunkWithTheTimeSinceItsStart) {
    progress::RecordingProgress target(1000);
    ChunkedProgress chunks({{1, 1000}, {2, 1000}}, target);
    progress::ThreadOperationTimer timer(20);
    timer.start(chunks, 1);
    ASSERT_TRUE(reaches(target, 3, 5000));
    timer.stop();
    const Positions seen = target.getPositions();
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(seen.back(), seen.front());
    Sleep(100);
    EXPECT_EQ(target.getPositions(), seen);
}

TEST(ThreadOperationTimer, ChunkCompletesAtItsExpectedDurationAndStaysThere) {
    progress::RecordingProgress target(1000);
    ChunkedProgress chunks({{1, 150}, {2, 1000}}, target);
    progress::ThreadOperationTimer timer(10);
    timer.start(chunks, 1);
    for (int waited = 0; chunks.getCurrentId() == 1 && waited < 5000; waited += 10) {
        Sleep(10);
    }
    EXPECT_EQ(chunks.getCurrentId(), 2u);
    Sleep(100);
    const Positions seen = target.getPositions();
    EXPECT_EQ(seen.back(), 130u);
    Sleep(100);
    EXPECT_EQ(target.getPositions(), seen);
}

#endif
