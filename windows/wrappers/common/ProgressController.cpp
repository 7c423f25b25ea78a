#include "ProgressController.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <thread>

#include "Log.h"
#include "OperationSequence.h"
#include "ThreadOperationTimer.h"

using progress::Operation;

namespace {

// Agreeing copies come within a few reads unless a writer spins on the
// record; then this poll is skipped rather than hung on.
const int MaxReads = 50;

} // namespace

ProgressController::ProgressController(ProgressView* view, const Operations& operations,
                                       const std::string& mailboxName)
    : ctorThread(ipc::Thread::getCurrent()),
      mailbox(ipc::SharedMemoryUnsafe::Create, mailboxName),
      operations(operations),
      view(view) {}

ProgressController::~ProgressController() {
    try {
        stop();
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ProgressController::stop"), e);
    }
}

void ProgressController::start() {
    assert(worker == ipc::Thread::NoThread);
    worker = ipc::Thread::start(this, false);
}

void ProgressController::run() {
    try {
        progress::ThreadOperationTimer timer;
        progress::OperationSequence sequence(operations, *this, timer);
        // On every way out the timer is stopped and the sequence given up
        // before it goes, so that stop() neither waits for ever nor touches it.
        struct EndPass {
            ProgressController& controller;
            progress::OperationSequence& sequence;
            ~EndPass() {
                try {
                    sequence.stopTimer();
                } catch (const std::exception& e) {
                    reportCaughtException(SOURCE_LOCATION_NAMED("ProgressController::run"), e);
                }
                controller.setPass(nullptr, Finished);
            }
        } end{*this, sequence};
        setPass(&sequence, Running);
        poll(sequence);
        sequence.stopTimer();
        if (completed) {
            show(100.0);
        }
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ProgressController::run"), e);
    } catch (...) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ProgressController::run"));
    }
    // Also when the pass could not begin.
    setPass(nullptr, Finished);
    if (viewFailures > 1) {
        LOG_AT_NAMED(LOG_WARNING, "ProgressController::run",
                     viewFailures - 1 << " more progress page calls failed");
    }
}

void ProgressController::poll(progress::OperationSequence& sequence) {
    // A stop during the pause is seen after one more read, so the record
    // that completed the install still counts.
    for (;;) {
        const Operation record = readMailbox();
        if (record.getState() != Operation::Invalid) {
            sequence.handle(record);
        }
        if (sequence.isDone()) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(PollMs));
    }
}

Operation ProgressController::readMailbox() {
    Operation last = ipc::SharedMemory<Operation>::Snapshot(mailbox).get();
    for (int i = 0; i < MaxReads; ++i) {
        const Operation now = ipc::SharedMemory<Operation>::Snapshot(mailbox).get();
        if (now == last) {
            return now;
        }
        last = now;
    }
    return Operation();
}

void ProgressController::setPass(progress::OperationSequence* sequence, PassState newState) {
    try {
        ipc::Mutex::Lock lock(conditional.getMutex());
        current = sequence;
        // Never back: a pass that ended says so again on its way out, maybe
        // after stop() has marked it stopped.
        state = std::max(state, newState);
        conditional.notify(false);
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ProgressController::run"), e);
    }
}

void ProgressController::stop() {
    assert(ipc::Thread::getCurrent() == ctorThread);
    if (worker == ipc::Thread::NoThread) {
        return;
    }
    {
        ipc::Mutex::Lock lock(conditional.getMutex());
        while (!current && state == Running) {
            conditional.wait(lock);
        }
        if (current) {
            current->setDone();
            while (current) {
                conditional.wait(lock);
            }
        }
    }
    {
        ipc::SharedMemory<Operation>::Snapshot snapshot(mailbox);
        snapshot.get() = Operation();
        snapshot.flush();
        ipc::Mutex::Lock lock(conditional.getMutex());
        state = Stopped;
        conditional.notify(true);
    }
    const ipc::Thread::Id joined = worker;
    worker = ipc::Thread::NoThread;
    ipc::Thread::join(joined);
    LOG_AT_NAMED(LOG_TRACE, "ProgressController::stop", "Progress bar stopped");
}

void ProgressController::setPosition(unsigned value) {
    position = std::min(value, Range);
    // A position that rounds up to the range before the last record holds
    // just below it.
    show(std::min(position.load(), Range - 1) * 100.0 / Range);
}

void ProgressController::complete() {
    completed = true;
}

void ProgressController::show(double percent) {
    if (!view) {
        return;
    }
    // The page may be gone or busy; the bar is worth less than the install.
    try {
        view->setProgress(percent);
        return;
    } catch (const std::exception& e) {
        if (viewFailures++ == 0) {
            reportCaughtException(SOURCE_LOCATION_NAMED("ProgressController::setPosition"), e);
        }
    } catch (...) {
        if (viewFailures++ == 0) {
            reportCaughtException(SOURCE_LOCATION_NAMED("ProgressController::setPosition"));
        }
    }
}

std::unique_ptr<ProgressController> startProgressController(ProgressView* view,
                                                            const std::string& mailboxName) {
    try {
        std::unique_ptr<ProgressController> controller(new ProgressController(
            view, progress::OperationMailbox().getOperations(), mailboxName));
        controller->start();
        return controller;
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
    LOG_WARNING("The install runs without a progress bar");
    return nullptr;
}
