#pragma once

#include <condition_variable>
#include <mutex>

namespace ipc {

// The one-shot event one waiter of an ipc::Conditional sleeps on.
class ConditionalImpl {
public:
    void signal();
    // Waits without time limit until signalled.
    void wait();
    // Waits at most `milliseconds`; false when the time ran out first.
    bool wait(unsigned milliseconds);

    // Gives the processor to another thread once.
    static void yield();

private:
    std::mutex mutex;
    std::condition_variable changed;
    bool signalled = false;
};

} // namespace ipc
