#pragma once

#include <cstdint>

namespace ipc {

// A millisecond stopwatch over the performance counter.
class HighResolutionTimer {
public:
    // Starts counting now.
    HighResolutionTimer();

    // Whole milliseconds since the start (truncated).
    std::uint64_t elapsed() const;

    // Starts counting again from now.
    void restart();

private:
    double ticksPerMs;
    std::int64_t start;
};

} // namespace ipc
