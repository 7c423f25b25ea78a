#include "Wait.h"

#include "PlatformFailure.h"

namespace ipc {

DWORD waitForSingleObject(HANDLE handle, DWORD milliseconds) {
    const DWORD result = WaitForSingleObject(handle, milliseconds);
    if (result == WAIT_FAILED) {
        IPC_THROW_LAST_ERROR("ipc::waitForSingleObject");
    }
    if (result == WAIT_TIMEOUT) {
        JP_THROW_NAMED(TimeoutExpiredError(), "ipc::waitForSingleObject");
    }
    return result;
}

} // namespace ipc
