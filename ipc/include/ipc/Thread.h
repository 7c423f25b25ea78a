#pragma once

#include <windows.h>

#include <ipc/Runnable.h>

namespace ipc {

class Thread {
public:
    typedef DWORD Id;
    static constexpr Id NoThread = static_cast<Id>(-1);

    static Thread getCurrent() { return Thread(GetCurrentThreadId()); }
    Id getId() const { return id; }
    bool operator==(const Thread& other) const { return id == other.id; }
    bool operator!=(const Thread& other) const { return id != other.id; }

    // Runs `runnable` on a new thread and returns its id; with no runnable
    // it starts nothing and returns NoThread (-1). With `own` the thread
    // destroys the runnable after running it (and start destroys it when no
    // thread can be made); otherwise the caller keeps it alive until join.
    // A run that raises is logged and ends the thread with exit code 1.
    // Every started thread is to be joined once.
    static Id start(Runnable* runnable, bool own);

    // Waits until a thread that start() returned has ended. The thread's
    // handle is kept from start to join, so the id cannot name another
    // thread meanwhile; an id that start() did not return, or that was
    // joined already, returns at once.
    static void join(Id id);

private:
    explicit Thread(Id id) : id(id) {}
    Id id;
};

} // namespace ipc
