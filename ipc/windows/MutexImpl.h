#pragma once

#include <windows.h>

#include "AutoHandle.h"

namespace ipc {

// The kernel mutex behind an ipc::Mutex.
class MutexImpl {
public:
    // Raises PlatformError "ipc::Mutex::create".
    MutexImpl();

    // Waits without time limit; raises as waitForSingleObject does.
    void acquire();
    // Raises PlatformError "ipc::Mutex::release".
    void release();
    // Closes the handle; raises PlatformError "ipc::Mutex::destroy".
    void destroy();

private:
    UniqueHandle handle;
};

} // namespace ipc
