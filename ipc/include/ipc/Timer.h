#pragma once

#include <atomic>

#include <ipc/Conditional.h>
#include <ipc/Thread.h>

namespace ipc {

// Calls a runnable on a thread of its own: at once, then `period` ms after
// each call returns (a pause between calls, not a fixed rate), until a stop
// is asked.
class Timer {
public:
    class Runnable {
    public:
        virtual ~Runnable() {}
        // `timer` lets the runnable end the timer from inside.
        virtual void run(Timer& timer) = 0;
    };

    Timer(Runnable& runnable, unsigned periodMs);
    // Asks to stop and waits until the worker thread has ended.
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Asks the worker to end after the call in progress; returns at once.
    void stop() { stopRequested = true; }

private:
    class Worker;

    Conditional conditional;
    bool stopped;
    std::atomic<bool> stopRequested;
    unsigned period;
    Thread::Id worker;
};

} // namespace ipc
