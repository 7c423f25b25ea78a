#pragma once

#include <cstdint>

#include <ipc/Runnable.h>

namespace ipc {

class Thread {
public:
    typedef std::uint32_t Id;
    static constexpr Id NoThread = static_cast<Id>(-1);

    static Thread getCurrent();
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

    // Waits until the thread has ended. A thread that start() returned is
    // waited on through the handle kept since start, so its id cannot name
    // another thread meanwhile; any other id is opened by id: an id that
    // names no running thread returns at once, and a thread that cannot be
    // opened is logged and not waited for.
    static void join(Id id);

private:
    explicit Thread(Id id) : id(id) {}
    Id id;
};

} // namespace ipc
