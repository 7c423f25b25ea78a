#pragma once

#include <windows.h>

namespace ipc {

// Waits for a kernel object; INFINITE (-1) means no time limit. Returns
// WAIT_OBJECT_0 or WAIT_ABANDONED; raises TimeoutExpiredError when the time
// runs out and PlatformError when the wait fails.
DWORD waitForSingleObject(HANDLE handle, DWORD milliseconds);

} // namespace ipc
