#include "MutexImpl.h"

#include "PlatformFailure.h"
#include "Wait.h"

namespace ipc {

MutexImpl::MutexImpl() : handle(CreateMutexA(nullptr, FALSE, nullptr)) {
    if (!handle) {
        IPC_THROW_LAST_ERROR("ipc::Mutex::create");
    }
}

void MutexImpl::acquire() {
    waitForSingleObject(handle.get(), INFINITE);
}

void MutexImpl::release() {
    if (!ReleaseMutex(handle.get())) {
        IPC_THROW_LAST_ERROR("ipc::Mutex::release");
    }
}

void MutexImpl::destroy() {
    if (!CloseHandle(handle.release())) {
        IPC_THROW_LAST_ERROR("ipc::Mutex::destroy");
    }
}

} // namespace ipc
