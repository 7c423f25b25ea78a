#include "OperationSequence.h"

#include <algorithm>

#include "Log.h"

namespace progress {

OperationSequence::OperationSequence(const std::vector<ChunkedProgress::Chunk>& operations,
                                     ProgressUpdater& target, OperationTimer& timer)
    : progress(operations, target), timer(timer), runningId(0), done(false) {
    for (const ChunkedProgress::Chunk& c : operations) {
        order.push_back(c.id);
    }
}

OperationSequence::~OperationSequence() {
    timer.stop();
}

void OperationSequence::stopTimer() {
    timer.stop();
    runningId = 0;
}

void OperationSequence::finish(unsigned id) {
    if (progress.getCurrentId() == id) {
        progress.complete();
    }
    // Also when the last operation had already completed by time.
    if (progress.getCurrentId() == 0) {
        done = true;
    }
}

void OperationSequence::handle(const Operation& op) {
    if (op.getState() == Operation::Invalid) {
        return;
    }
    if (op.getId() == 0) {
        // Other processes write the mailbox; the same record is read on
        // every poll, so it is logged once.
        if (op != lastRejected) {
            LOG_WARNING("Ignored progress record with operation id 0 and state "
                        << op.getState());
            lastRejected = op;
        }
        return;
    }
    const bool ends =
        op.getState() == Operation::Finished || op.getState() == Operation::Terminated;
    if (op.getId() != runningId) {
        handleNew(op);
    } else if (ends) {
        stopTimer();
        if (op.getState() == Operation::Terminated) {
            done = true;
        } else {
            finish(op.getId());
        }
    }
}

void OperationSequence::handleNew(const Operation& op) {
    // A late or unknown record must not stop the running operation's timer.
    if (isStale(op.getId())) {
        return;
    }
    stopTimer();
    if (!progress.seek(op.getId())) {
        return;
    }
    switch (op.getState()) {
    case Operation::Finished:
        finish(op.getId());
        break;
    case Operation::Terminated:
        done = true;
        break;
    default:
        runningId = progress.getCurrentId();
        timer.start(progress, runningId);
        break;
    }
}

bool OperationSequence::isStale(unsigned id) const {
    const auto at = std::find(order.begin(), order.end(), id);
    if (at == order.end()) {
        return true;
    }
    return runningId != 0 && at < std::find(order.begin(), order.end(), runningId);
}

} // namespace progress
