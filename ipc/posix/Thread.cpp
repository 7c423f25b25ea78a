#include <ipc/Thread.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include <ipc/Error.h>

#include "Log.h"
#include "TeguError.h"

namespace ipc {

namespace {

// Ids are handed out here: a started thread gets its id before it runs,
// any other thread on its first question.
std::atomic<Thread::Id> nextId{1};
thread_local Thread::Id currentId = 0;

Thread::Id ownId() {
    if (currentId == 0) currentId = nextId++;
    return currentId;
}

// The threads started and not joined yet.
class StartedThreads {
public:
    void add(Thread::Id id, std::thread thread) {
        std::lock_guard<std::mutex> lock(mutex);
        threads[id] = std::move(thread);
    }

    std::thread take(Thread::Id id) {
        std::lock_guard<std::mutex> lock(mutex);
        std::thread thread;
        const auto it = threads.find(id);
        if (it != threads.end()) {
            thread = std::move(it->second);
            threads.erase(it);
        }
        return thread;
    }

private:
    std::mutex mutex;
    std::map<Thread::Id, std::thread> threads;
};

// Never destroyed: threads may still be joined while statics go away.
StartedThreads& startedThreads() {
    static StartedThreads* threads = new StartedThreads;
    return *threads;
}

void threadFunction(Runnable* runnable, Thread::Id id) {
    currentId = id;
    const SourceLocation location =
        SOURCE_LOCATION_NAMED("ipc::`anonymous-namespace'::ThreadFunction");
    try {
        runnable->run();
    } catch (const std::exception& e) {
        reportCaughtException(location, e);
    } catch (...) {
        reportCaughtException(location);
    }
}

} // namespace

Thread Thread::getCurrent() {
    return Thread(ownId());
}

Thread::Id Thread::start(Runnable* runnable, bool own) {
    if (!runnable) {
        return NoThread;
    }
    std::unique_ptr<Runnable> owner(own ? new RunnableOwner(runnable) : nullptr);
    Runnable* const target = own ? owner.get() : runnable;
    const Id id = nextId++;
    try {
        startedThreads().add(id, std::thread(threadFunction, target, id));
    } catch (const std::system_error& e) {
        JP_THROW_NAMED(PlatformError(static_cast<unsigned long>(e.code().value())),
                       "ipc::Thread::start");
    }
    owner.release();
    return id;
}

void Thread::join(Id id) {
    if (id == ownId()) {
        LOG_AT_NAMED(LOG_ERROR, "ipc::Thread::join", "A thread cannot wait for its own end");
        return;
    }
    std::thread thread = startedThreads().take(id);
    if (!thread.joinable()) {
        // Only threads started here can be waited for on this platform.
        LOG_AT_NAMED(LOG_ERROR, "ipc::Thread::join", "Thread " << id << " was not started here");
        return;
    }
    thread.join();
}

} // namespace ipc
