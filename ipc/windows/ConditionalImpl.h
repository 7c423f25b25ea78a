#pragma once

#include <windows.h>

#include "AutoHandle.h"

namespace ipc {

// The manual-reset event one waiter of an ipc::Conditional sleeps on.
class ConditionalImpl {
public:
    // Raises PlatformError "ipc::Conditional::Impl::wait".
    ConditionalImpl();

    // Raises PlatformError "ipc::Conditional::Impl::notify".
    void signal();
    // Waits without time limit until signalled.
    void wait();
    // Waits at most `milliseconds`; false when the time ran out first.
    bool wait(unsigned milliseconds);

    // Gives the processor to another thread once.
    static void yield();

private:
    UniqueHandle event;
};

} // namespace ipc
