#include <ipc/HighResolutionTimer.h>

#include <chrono>

namespace ipc {

namespace {

// Nanoseconds of the monotonic clock.
std::int64_t now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

HighResolutionTimer::HighResolutionTimer() : ticksPerMs(1e6), start(now()) {}

std::uint64_t HighResolutionTimer::elapsed() const {
    return static_cast<std::uint64_t>(static_cast<double>(now() - start) / ticksPerMs);
}

void HighResolutionTimer::restart() {
    start = now();
}

} // namespace ipc
