#include <ipc/Mutex.h>

#include <cassert>

#include <ipc/Thread.h>
#include <ipc/Wait.h>

#include "Log.h"
#include "PlatformFailure.h"

namespace ipc {

namespace {

void releaseMutex(HANDLE handle) {
    if (!ReleaseMutex(handle)) {
        IPC_THROW_LAST_ERROR("ipc::Mutex::release");
    }
}

void destroyMutex(HANDLE handle) {
    if (!CloseHandle(handle)) {
        IPC_THROW_LAST_ERROR("ipc::Mutex::destroy");
    }
}

} // namespace

Mutex::Mutex() : handle(CreateMutexA(nullptr, FALSE, nullptr)), innermost(nullptr) {
    if (!handle) {
        IPC_THROW_LAST_ERROR("ipc::Mutex::create");
    }
}

Mutex::~Mutex() {
    if (innermost) {
        for (Lock* l = innermost; l; l = l->prev) {
            l->state = Lock::Orphaned;
        }
        handle.release();
        return;
    }
    try {
        destroyMutex(handle.release());
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ipc::Mutex::~Mutex"), e);
    }
}

Mutex::Lock::Lock(Mutex& mutex)
    : m(mutex), handle(mutex.handle.get()), state(Live), prev(nullptr),
      tid(Thread::getCurrent().getId()) {
    waitForSingleObject(handle, INFINITE);
    prev = m.innermost;
    m.innermost = this;
}

Mutex::Lock::~Lock() {
    try {
        assert(Thread::getCurrent().getId() == tid);
        if (state == Live) {
            assert(this == m.innermost);
            m.innermost = prev;
            releaseMutex(handle);
        } else {
            releaseMutex(handle);
            if (!prev) {
                destroyMutex(handle);
            }
        }
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ipc::Mutex::Lock::~Lock"), e);
    }
}

Mutex::Unlock::Unlock(Lock& lock) : l(lock) {
    assert(Thread::getCurrent().getId() == l.tid);
    assert(l.state == Lock::Live && &l == l.m.innermost);
    l.m.innermost = l.prev;
    releaseMutex(l.handle);
}

Mutex::Unlock::~Unlock() {
    try {
        waitForSingleObject(l.handle, INFINITE);
        l.prev = l.m.innermost;
        l.m.innermost = &l;
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ipc::Mutex::Unlock::~Unlock"), e);
    }
}

} // namespace ipc
