#pragma once

#include <ipc/Mutex.h>

namespace ipc {

// A condition variable over kernel events. Callers lock getMutex(), test
// their condition and wait; notify wakes waiters in the order they began
// to wait, and may be called with or without that lock.
class Conditional {
public:
    Conditional();
    ~Conditional();
    Conditional(const Conditional&) = delete;
    Conditional& operator=(const Conditional&) = delete;

    Mutex& getMutex() { return mutex; }

    // `lock` holds getMutex(); it is released while waiting and held again
    // when this returns.
    void wait(Mutex::Lock& lock);

    // The same, for at most `milliseconds`; raises TimeoutExpiredError
    // when no notify came in time. A notify(true) racing with the time-out
    // may be spent on this waiter, so callers loop on their own state.
    void wait(Mutex::Lock& lock, unsigned milliseconds);

    // Wakes the first waiter (one) or every current waiter (not one). With
    // no waiter it returns at once.
    void notify(bool one);

private:
    struct Waiter;
    class Enqueued;

    void unlink(Waiter& w);

    Mutex mutex;
    Mutex listMutex;
    Waiter* head;
    Waiter* tail;
};

} // namespace ipc
