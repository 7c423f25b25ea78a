#pragma once

#include "ChunkedProgress.h"

namespace progress {

// Times the running operation: while started, it calls
// progress.timeChunk(id, milliseconds since start) periodically and ends
// by itself once that answers false.
class OperationTimer {
public:
    virtual ~OperationTimer() {}
    // Times chunk `id` from zero, ending any timing before.
    virtual void start(ChunkedProgress& progress, unsigned id) = 0;
    // Ends the timing; no tick runs once this returns.
    virtual void stop() = 0;
};

} // namespace progress
