#include <gtest/gtest.h>

#include <string>

#include "Log.h"
#include "OperationMailbox.h"
#include "OperationSequence.h"
#include "RecordingProgress.h"
#include "TestSupport.h"

using progress::ChunkedProgress;
using progress::Operation;

namespace {

typedef std::vector<unsigned> Positions;

// A timer the test ticks by hand.
class ManualTimer : public progress::OperationTimer {
public:
    void start(ChunkedProgress& p, unsigned id) override {
        progress = &p;
        timedId = id;
        starts.push_back(id);
    }
    void stop() override {
        ++stops;
        timedId = 0;
    }
    // A tick `ms` after the start; false once the timer has ended itself.
    bool tick(std::uint64_t ms) {
        if (timedId == 0 || !progress->timeChunk(timedId, ms)) {
            timedId = 0;
            return false;
        }
        return true;
    }

    ChunkedProgress* progress = nullptr;
    unsigned timedId = 0;
    Positions starts;
    int stops = 0;
};

struct Sequence : ::testing::Test {
    void post(unsigned id, unsigned state) { sequence.handle(Operation(id, state)); }

    progress::RecordingProgress target;
    ManualTimer timer;
    progress::OperationSequence sequence{progress::OperationMailbox().getOperations(), target,
                                         timer};
};

std::string logTail(size_t from) {
    const std::string log = testsupport::readFile(Logger::defaultLogger().filePath());
    return log.size() > from ? log.substr(from) : std::string();
}

} // namespace

TEST_F(Sequence, StartedOperationIsTimedUpToItsExpectedDuration) {
    post(1, Operation::Started);
    EXPECT_EQ(timer.starts, Positions({1}));
    EXPECT_EQ(sequence.getRunningId(), 1u);
    EXPECT_TRUE(timer.tick(5000));
    EXPECT_TRUE(timer.tick(5000));
    EXPECT_TRUE(timer.tick(25000));
    EXPECT_FALSE(timer.tick(30000));
    EXPECT_EQ(target.getPositions(), Positions({37, 148}));
    // The bar waits at the boundary; the running record read again is no news.
    post(1, Operation::Started);
    EXPECT_EQ(timer.starts, Positions({1}));
    EXPECT_EQ(target.getPositions(), Positions({37, 148}));
    EXPECT_FALSE(sequence.isDone());
}

TEST_F(Sequence, LaterStartCompletesEveryOperationBeforeIt) {
    post(1, Operation::Started);
    timer.tick(5000);
    post(4, Operation::Started);
    EXPECT_EQ(target.getPositions(), Positions({37, 148, 222, 444}));
    EXPECT_EQ(timer.starts, Positions({1, 4}));
    EXPECT_EQ(timer.timedId, 4u);
    EXPECT_EQ(sequence.getRunningId(), 4u);
    timer.tick(20000);
    EXPECT_EQ(target.getPositions().back(), 593u);
}

TEST_F(Sequence, RecordsReadTwiceChangeNothing) {
    post(4, Operation::Started);
    post(4, Operation::Started);
    EXPECT_EQ(timer.starts, Positions({4}));
    post(4, Operation::Finished);
    post(4, Operation::Finished);
    EXPECT_EQ(target.getPositions(), Positions({148, 222, 444, 741}));
    EXPECT_EQ(timer.starts, Positions({4}));
    EXPECT_FALSE(sequence.isDone());
}

TEST_F(Sequence, FinishedAfterCompletingByTimeIsIgnored) {
    post(2, Operation::Started);
    timer.tick(10000);
    const Positions before = target.getPositions();
    EXPECT_EQ(before, Positions({148, 222}));
    post(2, Operation::Finished);
    EXPECT_EQ(target.getPositions(), before);
    EXPECT_EQ(sequence.getRunningId(), 0u);
    EXPECT_FALSE(sequence.isDone());
    post(3, Operation::Started);
    EXPECT_EQ(timer.starts, Positions({2, 3}));
}

TEST_F(Sequence, LastFinishedCompletesTheTargetAndEndsTheSequence) {
    post(6, Operation::Started);
    post(7, Operation::Finished);
    EXPECT_EQ(target.getPositions(), Positions({148, 222, 444, 741, 889, 963}));
    EXPECT_EQ(target.getCompletions(), 1);
    EXPECT_TRUE(sequence.isDone());
}

TEST_F(Sequence, LastOperationFinishingAfterItsExpectedTimeEndsTheSequence) {
    post(7, Operation::Started);
    timer.tick(6000);
    EXPECT_EQ(target.getCompletions(), 1);
    EXPECT_FALSE(sequence.isDone());
    post(7, Operation::Finished);
    EXPECT_TRUE(sequence.isDone());
    EXPECT_EQ(target.getCompletions(), 1);
}

TEST_F(Sequence, TerminatedEndsWithoutFurtherPositions) {
    post(5, Operation::Started);
    target.clear();
    post(5, Operation::Terminated);
    EXPECT_TRUE(sequence.isDone());
    EXPECT_EQ(sequence.getRunningId(), 0u);
    EXPECT_TRUE(target.getPositions().empty());
    EXPECT_EQ(target.getCompletions(), 0);
}

TEST_F(Sequence, EmptyRecordIsNeverHandled) {
    post(4, Operation::Invalid);
    post(0, Operation::Invalid);
    EXPECT_TRUE(timer.starts.empty());
    EXPECT_EQ(timer.stops, 0);
    EXPECT_TRUE(target.getPositions().empty());
}

TEST_F(Sequence, LateOrUnknownRecordLeavesTheRunningOperationAlone) {
    post(5, Operation::Started);
    const int stops = timer.stops;
    const Positions before = target.getPositions();
    post(3, Operation::Started);
    post(1, Operation::Finished);
    post(2, Operation::Terminated);
    post(99, Operation::Started);
    EXPECT_EQ(timer.stops, stops);
    EXPECT_EQ(timer.timedId, 5u);
    EXPECT_EQ(target.getPositions(), before);
    EXPECT_FALSE(sequence.isDone());
    post(6, Operation::Started);
    EXPECT_EQ(timer.starts, Positions({5, 6}));
}

TEST_F(Sequence, CompletedOperationIsNotFoundAgain) {
    post(3, Operation::Finished);
    const Positions before = target.getPositions();
    post(3, Operation::Started);
    post(2, Operation::Started);
    EXPECT_TRUE(timer.starts.empty());
    EXPECT_EQ(target.getPositions(), before);
}

TEST_F(Sequence, RecordWithIdZeroIsIgnoredAndLoggedOnce) {
    const size_t logSize = testsupport::readFile(Logger::defaultLogger().filePath()).size();
    post(0, Operation::Started);
    post(0, Operation::Started);
    post(0, Operation::Started);
    post(0, Operation::Finished);
    EXPECT_TRUE(timer.starts.empty());
    EXPECT_FALSE(sequence.isDone());
    const std::string log = logTail(logSize);
    EXPECT_NE(log.find("(progress::OperationSequence::handle)]"), std::string::npos) << log;
    for (const char* record : {"WARNING: Ignored progress record with operation id 0 and state 1",
                               "WARNING: Ignored progress record with operation id 0 and state 2"}) {
        EXPECT_NE(log.find(record), std::string::npos) << log;
        EXPECT_EQ(log.find(record), log.rfind(record)) << log;
    }
    post(1, Operation::Started);
    EXPECT_EQ(timer.starts, Positions({1}));
}

TEST_F(Sequence, UnknownStateCountsAsStarted) {
    post(3, 77);
    EXPECT_EQ(timer.starts, Positions({3}));
}

TEST_F(Sequence, StopsItsTimerWhenStoppedOrDone) {
    post(2, Operation::Started);
    sequence.setDone();
    EXPECT_TRUE(sequence.isDone());
    sequence.stopTimer();
    EXPECT_EQ(timer.timedId, 0u);
    EXPECT_EQ(sequence.getRunningId(), 0u);
}
