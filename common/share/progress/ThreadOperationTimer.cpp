#include "ThreadOperationTimer.h"

#include <ipc/HighResolutionTimer.h>
#include <ipc/Timer.h>

namespace progress {

// One tick: credits the time since the operation started to its chunk, and
// ends the timer once that chunk is no longer current.
class ProgressUpdaterRunnable : public ipc::Timer::Runnable {
public:
    ProgressUpdaterRunnable(ChunkedProgress& progress, unsigned id)
        : progress(progress), id(id) {}

    void run(ipc::Timer& timer) override {
        if (!progress.timeChunk(id, stopwatch.elapsed())) {
            timer.stop();
        }
    }

private:
    ChunkedProgress& progress;
    const unsigned id;
    ipc::HighResolutionTimer stopwatch;
};

ThreadOperationTimer::ThreadOperationTimer(unsigned periodMs) : period(periodMs) {}

ThreadOperationTimer::~ThreadOperationTimer() {
    stop();
}

void ThreadOperationTimer::start(ChunkedProgress& progress, unsigned id) {
    stop();
    runnable.reset(new ProgressUpdaterRunnable(progress, id));
    timer.reset(new ipc::Timer(*runnable, period));
}

void ThreadOperationTimer::stop() {
    timer.reset();
}

} // namespace progress
