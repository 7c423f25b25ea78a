#include <ipc/Thread.h>

#include <process.h>

#include <map>
#include <memory>

#include <ipc/Mutex.h>
#include "AutoHandle.h"
#include "Log.h"
#include "PlatformFailure.h"
#include "Wait.h"
#include "WinErrorHandling.h"

namespace ipc {

namespace {

// The handles of started threads that are not joined yet.
class StartedThreads {
public:
    void add(Thread::Id id, UniqueHandle handle) {
        Mutex::Lock lock(mutex);
        handles[id] = std::move(handle);
    }

    UniqueHandle take(Thread::Id id) {
        Mutex::Lock lock(mutex);
        UniqueHandle handle;
        const auto it = handles.find(id);
        if (it != handles.end()) {
            handle = std::move(it->second);
            handles.erase(it);
        }
        return handle;
    }

private:
    Mutex mutex;
    std::map<Thread::Id, UniqueHandle> handles;
};

// Never destroyed: threads may still be joined while statics go away.
StartedThreads& startedThreads() {
    static StartedThreads* threads = new StartedThreads;
    return *threads;
}

unsigned __stdcall ThreadFunction(void* argument) {
    const SourceLocation location =
        SOURCE_LOCATION_NAMED("ipc::`anonymous-namespace'::ThreadFunction");
    try {
        static_cast<Runnable*>(argument)->run();
        return 0;
    } catch (const std::exception& e) {
        reportCaughtException(location, e);
    } catch (...) {
        reportCaughtException(location);
    }
    return 1;
}

} // namespace

Thread::Id Thread::start(Runnable* runnable, bool own) {
    if (!runnable) {
        return NoThread;
    }
    std::unique_ptr<Runnable> owner(own ? new RunnableOwner(runnable) : nullptr);
    Runnable* const target = own ? owner.get() : runnable;
    unsigned id = 0;
    UniqueHandle handle(reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, ThreadFunction, target, 0, &id)));
    if (!handle) {
        IPC_THROW_LAST_ERROR("ipc::Thread::start");
    }
    owner.release();
    startedThreads().add(id, std::move(handle));
    return id;
}

Thread Thread::getCurrent() {
    return Thread(GetCurrentThreadId());
}

void Thread::join(Id id) {
    if (id == GetCurrentThreadId()) {
        LOG_AT_NAMED(LOG_ERROR, "ipc::Thread::join", "A thread cannot wait for its own end");
        return;
    }
    UniqueHandle handle = startedThreads().take(id);
    if (!handle) {
        handle.reset(OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, id));
    }
    if (!handle) {
        const DWORD error = GetLastError();
        // No thread has that id any more: it has ended.
        if (error == ERROR_INVALID_PARAMETER) return;
        LOG_AT_NAMED(LOG_ERROR, "ipc::Thread::join",
                     "OpenThread(" << id << ") failed with " << systemErrorText(error));
        return;
    }
    waitForSingleObject(handle.get(), INFINITE);
}

} // namespace ipc
