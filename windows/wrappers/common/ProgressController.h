#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include <ipc/Conditional.h>
#include <ipc/Runnable.h>
#include <ipc/SharedMemory.h>
#include <ipc/Thread.h>

#include "ChunkedProgress.h"
#include "Operation.h"
#include "OperationMailbox.h"
#include "ProgressUpdater.h"
#include "ProgressView.h"

namespace progress {
class OperationSequence;
}

// Turns the install's operations, as the mailbox reports them, into the
// progress page's bar: one pass on a thread of its own, from start() until
// the last operation completes, a Terminated record comes, or stop().
//
// The view shows 100 once, as its last value, when the pass ends with
// every operation complete: a last operation that outruns its expected
// duration holds the bar just below 100 until its record (or stop()) comes.
class ProgressController : public ipc::Runnable, public progress::ProgressUpdater {
public:
    typedef std::vector<progress::ChunkedProgress::Chunk> Operations;

    static constexpr unsigned Range = 1000;
    static constexpr unsigned PollMs = 100;

    // Creates the mailbox `mailboxName` (raises ipc::PlatformError when it
    // cannot) so that it exists before any writer needs it. `view` is not
    // owned; with none the pass runs and nothing is shown.
    explicit ProgressController(ProgressView* view,
                                const Operations& operations = progress::OperationMailbox().getOperations(),
                                const std::string& mailboxName = progress::OperationMailbox::SharedMemoryName);
    // Stops; a failure is logged.
    ~ProgressController() override;
    ProgressController(const ProgressController&) = delete;
    ProgressController& operator=(const ProgressController&) = delete;

    // Starts the pass on its own thread; raises when no thread can be made.
    void start();

    // The pass; runs once, on the worker thread.
    void run() override;

    // Ends the pass, empties the mailbox and joins the worker. Returns at
    // once when the pass was never started; never waits for a pass that
    // raised or ended by itself. Constructing thread only.
    void stop();

    unsigned getPosition() const override { return position; }
    unsigned getRange() const override { return Range; }
    void step() override { setPosition(position + 1); }
    // Shows min(value, range) as a percentage (below 100 until complete()).
    void setPosition(unsigned value) override;
    // Every operation is done; 100 is shown when the pass ends.
    void complete() override;

private:
    enum PassState { Running = 0, Finished = 2, Stopped = 3 };

    // The record, read until two copies agree: a writer in another process
    // may be half-way through its 8 bytes. Invalid when none agree.
    progress::Operation readMailbox();
    void show(double percent);
    void poll(progress::OperationSequence& sequence);
    // Under the lock: the sequence is current (or none), the state set and
    // the waiters told.
    void setPass(progress::OperationSequence* sequence, PassState state);

    const ipc::Thread ctorThread;
    ipc::SharedMemory<progress::Operation> mailbox;
    const Operations operations;
    ipc::Thread::Id worker = ipc::Thread::NoThread;
    progress::OperationSequence* current = nullptr;
    ipc::Conditional conditional;
    PassState state = Running;
    std::atomic<unsigned> position{0};
    std::atomic<bool> completed{false};
    std::atomic<unsigned> viewFailures{0};
    ProgressView* const view;
};

// A started controller for the install about to run; one that cannot be
// made or started is logged and the install goes on without a bar (null).
std::unique_ptr<ProgressController> startProgressController(
    ProgressView* view,
    const std::string& mailboxName = progress::OperationMailbox::SharedMemoryName);
