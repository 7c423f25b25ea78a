#pragma once

#include <atomic>
#include <vector>

#include "ChunkedProgress.h"
#include "Operation.h"
#include "OperationTimer.h"

namespace progress {

// Follows the records read from the mailbox through the install's
// operations and drives a target progress: finished operations count in
// full, the running one by the time spent in it (up to its expected
// duration). Handling the same record again changes nothing.
class OperationSequence {
public:
    OperationSequence(const std::vector<ChunkedProgress::Chunk>& operations,
                      ProgressUpdater& target, OperationTimer& timer);
    // Stops the timer.
    ~OperationSequence();
    OperationSequence(const OperationSequence&) = delete;
    OperationSequence& operator=(const OperationSequence&) = delete;

    // One record read from the mailbox. Empty records (state Invalid),
    // records of unknown or completed operations and records older than the
    // running operation are ignored; so is a record with id 0 from a faulty
    // writer, which is logged.
    void handle(const Operation& op);

    // Ends the timing of the running operation.
    void stopTimer();

    // Done: a Terminated record came, the last operation completed, or
    // setDone was called (from any thread).
    bool isDone() const { return done; }
    void setDone() { done = true; }

    // The operation being timed, 0 when none.
    unsigned getRunningId() const { return runningId; }

private:
    // Completes chunk `id` when it is current; done when none remains.
    void finish(unsigned id);
    void handleNew(const Operation& op);
    // Not in the table, or before the running operation.
    bool isStale(unsigned id) const;

    ChunkedProgress progress;
    std::vector<unsigned> order;
    OperationTimer& timer;
    unsigned runningId;
    std::atomic<bool> done;
    Operation lastRejected;
};

} // namespace progress
