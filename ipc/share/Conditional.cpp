#include <ipc/Conditional.h>

#include <cassert>

#include <memory>

#include <ipc/Error.h>
#include "ConditionalImpl.h"
#include "TeguError.h"

namespace ipc {

struct Conditional::Waiter {
    Waiter* prev = nullptr;
    Waiter* next = nullptr;
    bool linked = false;
    std::unique_ptr<ConditionalImpl> event;
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
    w.event.reset(new ConditionalImpl);
    Enqueued enqueued(*this, w);
    Mutex::Unlock unlock(lock);
    w.event->wait();
}

void Conditional::wait(Mutex::Lock& lock, unsigned milliseconds) {
    Waiter w;
    w.event.reset(new ConditionalImpl);
    Enqueued enqueued(*this, w);
    Mutex::Unlock unlock(lock);
    if (!w.event->wait(milliseconds)) {
        JP_THROW_NAMED(TimeoutExpiredError(), "ipc::Conditional::wait");
    }
}

void Conditional::notify(bool one) {
    {
        // The list stays locked throughout, so a woken waiter that waits
        // again is left for the next notify instead of being woken twice.
        Mutex::Lock lock(listMutex);
        while (head) {
            Waiter* const w = head;
            assert(w->event);
            w->event->signal();
            unlink(*w);
            if (one) {
                break;
            }
        }
    }
    ConditionalImpl::yield();
}

} // namespace ipc
