#pragma once

#include <cerrno>

#include <ipc/Error.h>

#include "TeguError.h"

// Raises ipc::PlatformError with errno under the function name that the log
// and the located message must carry.
#define IPC_THROW_ERRNO(name) JP_THROW_NAMED(ipc::PlatformError(static_cast<unsigned long>(errno)), name)
