#include <ipc/HighResolutionTimer.h>

#include "PlatformFailure.h"

namespace ipc {

namespace {

std::int64_t perfCounter() {
    LARGE_INTEGER count;
    if (!QueryPerformanceCounter(&count)) {
        IPC_THROW_LAST_ERROR("ipc::`anonymous-namespace'::perfCounter");
    }
    return count.QuadPart;
}

std::int64_t perfFrequency() {
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency)) {
        IPC_THROW_LAST_ERROR("ipc::`anonymous-namespace'::perfFrequency");
    }
    return frequency.QuadPart;
}

} // namespace

HighResolutionTimer::HighResolutionTimer()
    : ticksPerMs(static_cast<double>(perfFrequency()) / 1000.0), start(perfCounter()) {}

std::uint64_t HighResolutionTimer::elapsed() const {
    return static_cast<std::uint64_t>(static_cast<double>(perfCounter() - start) / ticksPerMs);
}

void HighResolutionTimer::restart() {
    start = perfCounter();
}

} // namespace ipc
