#pragma once

#include <mutex>

namespace ipc {

// The recursive mutex behind an ipc::Mutex: its owner may take it again.
class MutexImpl {
public:
    void acquire() { mutex.lock(); }
    void release() { mutex.unlock(); }
    // Nothing to close; the object goes with its owner.
    void destroy() {}

private:
    std::recursive_mutex mutex;
};

} // namespace ipc
