#pragma once

#include <memory>

#include "OperationTimer.h"

namespace ipc {
class Timer;
}

namespace progress {

class ProgressUpdaterRunnable;

// Times the running operation on an ipc::Timer thread, with a stopwatch
// started when the operation started.
class ThreadOperationTimer : public OperationTimer {
public:
    static constexpr unsigned PeriodMs = 100;

    explicit ThreadOperationTimer(unsigned periodMs = PeriodMs);
    ~ThreadOperationTimer() override;

    void start(ChunkedProgress& progress, unsigned id) override;
    void stop() override;

private:
    const unsigned period;
    std::unique_ptr<ProgressUpdaterRunnable> runnable;
    std::unique_ptr<ipc::Timer> timer;
};

} // namespace progress
