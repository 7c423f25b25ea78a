#include "ConditionalImpl.h"

#include <chrono>
#include <thread>

namespace ipc {

void ConditionalImpl::signal() {
    std::lock_guard<std::mutex> lock(mutex);
    signalled = true;
    changed.notify_all();
}

void ConditionalImpl::wait() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return signalled; });
}

bool ConditionalImpl::wait(unsigned milliseconds) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                            [this] { return signalled; });
}

void ConditionalImpl::yield() {
    std::this_thread::yield();
}

} // namespace ipc
