#include <gtest/gtest.h>

#include "ChunkedProgress.h"
#include "OperationMailbox.h"
#include "RecordingProgress.h"

using progress::ChunkedProgress;
using progress::RecordingProgress;

namespace {

typedef std::vector<unsigned> Positions;

// The install's table: 135000 ms in all, onto a range of 1000.
struct InstallChunks : ::testing::Test {
    RecordingProgress target;
    ChunkedProgress chunks{progress::OperationMailbox().getOperations(), target};
};

} // namespace

TEST_F(InstallChunks, PositionWeighsTheTimeInTheChunkAgainstTheWholeInstall) {
    EXPECT_EQ(chunks.getCurrentId(), 1u);
    EXPECT_EQ(chunks.getRange(), 20000u);
    chunks.setPosition(5000);
    chunks.complete();
    chunks.setPosition(5000);
    EXPECT_EQ(target.getPositions(), Positions({37, 148, 185}));
    EXPECT_EQ(chunks.getCurrentId(), 2u);
    EXPECT_EQ(chunks.getPosition(), 5000u);
    EXPECT_EQ(chunks.getRange(), 10000u);
}

TEST_F(InstallChunks, EveryCompletedChunkCountsItsFullWeight) {
    for (int i = 0; i < 6; ++i) {
        chunks.complete();
    }
    EXPECT_EQ(target.getPositions(), Positions({148, 222, 444, 741, 889, 963}));
    EXPECT_EQ(target.getCompletions(), 0);
    EXPECT_EQ(chunks.getCurrentId(), 7u);
}

TEST_F(InstallChunks, LastChunkCompletesTheTargetInsteadOfAFinalPosition) {
    ASSERT_TRUE(chunks.seek(7));
    target.clear();
    chunks.setPosition(4999);
    chunks.setPosition(5000);
    EXPECT_EQ(target.getPositions(), Positions({1000}));
    EXPECT_EQ(target.getCompletions(), 1);
    EXPECT_EQ(chunks.getCurrentId(), 0u);
    chunks.setPosition(1);
    chunks.complete();
    chunks.step();
    EXPECT_EQ(target.getPositions(), Positions({1000}));
    EXPECT_EQ(target.getCompletions(), 1);
}

TEST_F(InstallChunks, ChunkIsCappedAtItsWeight) {
    chunks.setPosition(19999);
    chunks.setPosition(25000);
    EXPECT_EQ(target.getPositions(), Positions({148, 148}));
    EXPECT_EQ(chunks.getCurrentId(), 2u);
    EXPECT_EQ(chunks.getPosition(), 0u);
}

TEST_F(InstallChunks, UnchangedPositionIsNotReported) {
    chunks.setPosition(100);
    chunks.setPosition(100);
    chunks.step();
    EXPECT_EQ(target.getPositions(), Positions({1, 1}));
    EXPECT_EQ(chunks.getPosition(), 101u);
}

TEST_F(InstallChunks, SeekCompletesTheChunksBeforeAndFindsNothingBehind) {
    EXPECT_TRUE(chunks.seek(1));
    EXPECT_TRUE(target.getPositions().empty());
    EXPECT_TRUE(chunks.seek(4));
    EXPECT_EQ(target.getPositions(), Positions({148, 222, 444}));
    EXPECT_FALSE(chunks.seek(2));
    EXPECT_FALSE(chunks.seek(99));
    EXPECT_FALSE(chunks.seek(0));
    EXPECT_EQ(target.getPositions().size(), 3u);
    EXPECT_EQ(chunks.getCurrentId(), 4u);
}

TEST_F(InstallChunks, TimerTickCreditsOnlyItsOwnChunk) {
    EXPECT_TRUE(chunks.timeChunk(1, 5000));
    EXPECT_FALSE(chunks.timeChunk(2, 5000));
    EXPECT_FALSE(chunks.timeChunk(0, 5000));
    EXPECT_TRUE(chunks.timeChunk(1, 0xFFFFFFFFFFFFull));
    EXPECT_FALSE(chunks.timeChunk(1, 1));
    EXPECT_EQ(target.getPositions(), Positions({37, 148}));
}

TEST(ChunkedProgress, HalfwayFractionsRoundUp) {
    RecordingProgress target(1000);
    ChunkedProgress chunks({{1, 2000}}, target);
    chunks.setPosition(1);
    chunks.setPosition(3);
    chunks.setPosition(2);
    EXPECT_EQ(target.getPositions(), Positions({1, 2, 1}));
}

TEST(ChunkedProgress, TargetRangeIsReadOnce) {
    RecordingProgress target(50);
    ChunkedProgress chunks({{3, 100}, {9, 100}}, target);
    chunks.setPosition(50);
    EXPECT_EQ(target.getPositions(), Positions({13}));
}

TEST(ChunkedProgress, WithoutChunksNothingHappens) {
    RecordingProgress target;
    ChunkedProgress chunks({}, target);
    chunks.setPosition(10);
    chunks.complete();
    EXPECT_EQ(chunks.getCurrentId(), 0u);
    EXPECT_FALSE(chunks.seek(1));
    EXPECT_TRUE(target.getPositions().empty());
    EXPECT_EQ(target.getCompletions(), 0);
}
