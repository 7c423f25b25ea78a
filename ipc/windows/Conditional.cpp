#include <ipc/Conditional.h>

#include <cassert>

#include "AutoHandle.h"
#include "PlatformFailure.h"
#include "Wait.h"

namespace ipc {

struct Conditional::Waiter {
    Waiter* prev = nullptr;
    Waiter* next = nullptr;
    bool linked = false;
    UniqueHandle event;
};

// Keeps a waiter at the tail of the list for its scope; a waiter that was
// not woken (its wait failed) leaves the list on the way out.
class Conditional::Enqueued {
public:
    Enqueued(Conditional& c, Waiter& w) : c(c), w(w) {
        Mutex::Lock lock(c.listMutex);
        w.prev = c.tail;
        if (c.tail) {
            c.tail->next = &w;
        } else {
            c.head = &w;
        }
        c.tail = &w;
        w.linked = true;
    }
    ~Enqueued() {
        Mutex::Lock lock(c.listMutex);
        if (w.linked) {
            c.unlink(w);
        }
    }

private:
    Conditional& c;
    Waiter& w;
};

Conditional::Conditional() : head(nullptr), tail(nullptr) {}

Conditional::~Conditional() = default;

void Conditional::unlink(Waiter& w) {
    (w.prev ? w.prev->next : head) = w.next;
    (w.next ? w.next->prev : tail) = w.prev;
    w.prev = w.next = nullptr;
    w.linked = false;
}

void Conditional::wait(Mutex::Lock& lock) {
    Waiter w;
    w.event.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!w.event) {
        IPC_THROW_LAST_ERROR("ipc::Conditional::Impl::wait");
    }
    Enqueued enqueued(*this, w);
    Mutex::Unlock unlock(lock);
    waitForSingleObject(w.event.get(), INFINITE);
}

void Conditional::notify(bool one) {
    {
        // The list stays locked throughout, so a woken waiter that waits
        // again is left for the next notify instead of being woken twice.
        Mutex::Lock lock(listMutex);
        while (head) {
            Waiter* const w = head;
            assert(w->event);
            if (!SetEvent(w->event.get())) {
                IPC_THROW_LAST_ERROR("ipc::Conditional::Impl::notify");
            }
            unlink(*w);
            if (one) {
                break;
            }
        }
    }
    Sleep(0);
}

} // namespace ipc
