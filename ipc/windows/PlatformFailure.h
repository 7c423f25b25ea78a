#pragma once

#include <windows.h>

#include <ipc/Error.h>

#include "TeguError.h"

// Raises ipc::PlatformError with the thread's last error under the function
// name that the log and the located message must carry.
#define IPC_THROW_LAST_ERROR(name) JP_THROW_NAMED(ipc::PlatformError(GetLastError()), name)
