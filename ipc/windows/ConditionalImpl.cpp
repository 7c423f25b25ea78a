#include "ConditionalImpl.h"

#include "PlatformFailure.h"
#include "Wait.h"

namespace ipc {

ConditionalImpl::ConditionalImpl() : event(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    if (!event) {
        IPC_THROW_LAST_ERROR("ipc::Conditional::Impl::wait");
    }
}

void ConditionalImpl::signal() {
    if (!SetEvent(event.get())) {
        IPC_THROW_LAST_ERROR("ipc::Conditional::Impl::notify");
    }
}

void ConditionalImpl::wait() {
    waitForSingleObject(event.get(), INFINITE);
}

bool ConditionalImpl::wait(unsigned milliseconds) {
    const DWORD result = WaitForSingleObject(event.get(), milliseconds);
    if (result == WAIT_FAILED) {
        IPC_THROW_LAST_ERROR("ipc::Conditional::Impl::wait");
    }
    return result != WAIT_TIMEOUT;
}

void ConditionalImpl::yield() {
    Sleep(0);
}

} // namespace ipc
