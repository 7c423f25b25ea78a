#include <ipc/Timer.h>

#include <chrono>
#include <thread>

#include "Log.h"

namespace ipc {

class Timer::Worker : public ipc::Runnable {
public:
    Worker(Timer& timer, Timer::Runnable& runnable) : timer(timer), runnable(runnable) {}

    void run() override {
        // Stopped is announced also when the runnable raises, so that the
        // timer's destructor never waits for ever.
        struct AnnounceStop {
            Timer& timer;
            ~AnnounceStop() {
                try {
                    Mutex::Lock lock(timer.conditional.getMutex());
                    timer.stopped = true;
                    timer.conditional.notify(false);
                } catch (const std::exception& e) {
                    REPORT_CAUGHT(e);
                }
            }
        } announce{timer};
        while (!timer.stopRequested) {
            runnable.run(timer);
            if (timer.stopRequested) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(timer.period));
        }
    }

private:
    Timer& timer;
    Timer::Runnable& runnable;
};

Timer::Timer(Runnable& runnable, unsigned periodMs)
    : stopped(false), stopRequested(false), period(periodMs), worker(Thread::NoThread) {
    worker = Thread::start(new Worker(*this, runnable), true);
}

Timer::~Timer() {
    stop();
    try {
        {
            Mutex::Lock lock(conditional.getMutex());
            while (!stopped) {
                conditional.wait(lock);
            }
        }
        Thread::join(worker);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
}

} // namespace ipc
