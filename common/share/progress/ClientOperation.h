#pragma once

#include <string>

#include <ipc/SharedMemory.h>

#include "Operation.h"

namespace progress {

// The writing side of the progress mailbox.
class ClientOperation {
public:
    // Opens the existing mailbox `name`; raises ipc::PlatformError when no
    // process has created it.
    explicit ClientOperation(const std::string& name);

    // Replaces the mailbox record with (id, state) and flushes it. Id 0 is
    // a programming error.
    void post(unsigned id, unsigned state = Operation::Started);

private:
    ipc::SharedMemory<Operation> memory;
};

} // namespace progress
