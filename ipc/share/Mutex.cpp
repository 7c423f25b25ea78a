#include <ipc/Mutex.h>

#include <cassert>

#include <ipc/Thread.h>

#include "Log.h"
#include "MutexImpl.h"

namespace ipc {

Mutex::Mutex() : impl(new MutexImpl), innermost(nullptr) {}

Mutex::~Mutex() {
    if (innermost) {
        for (Lock* l = innermost; l; l = l->prev) {
            l->state = Lock::Orphaned;
        }
        impl.release();
        return;
    }
    try {
        impl->destroy();
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ipc::Mutex::~Mutex"), e);
    }
}

Mutex::Lock::Lock(Mutex& mutex)
    : m(mutex), impl(mutex.impl.get()), state(Live), prev(nullptr),
      tid(Thread::getCurrent().getId()) {
    impl->acquire();
    prev = m.innermost;
    m.innermost = this;
}

Mutex::Lock::~Lock() {
    try {
        assert(Thread::getCurrent().getId() == tid);
        if (state == Live) {
            assert(this == m.innermost);
            m.innermost = prev;
            impl->release();
        } else {
            impl->release();
            if (!prev) {
                const std::unique_ptr<MutexImpl> orphan(impl);
                orphan->destroy();
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
    l.impl->release();
}

Mutex::Unlock::~Unlock() {
    try {
        l.impl->acquire();
        l.prev = l.m.innermost;
        l.m.innermost = &l;
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ipc::Mutex::Unlock::~Unlock"), e);
    }
}

} // namespace ipc
