#pragma once

#include <vector>

#include "ChunkedProgress.h"

namespace progress {

// The contract of the progress mailbox: the name of the 8-byte shared
// memory that holds the latest Operation record, and the install's
// operations in install order with their expected durations.
class OperationMailbox {
public:
    static const char* const SharedMemoryName;

    // Operations 1 to 7: 20, 10, 30, 40, 20, 10 and 5 seconds.
    OperationMailbox();

    // Sets the expected duration of operation `id` (not 0): replaces the
    // entry of that id, removes it when `seconds` is 0, otherwise appends.
    void setOperation(unsigned id, unsigned seconds);

    // (id, weight in milliseconds), in install order.
    const std::vector<ChunkedProgress::Chunk>& getOperations() const { return operations; }

private:
    std::vector<ChunkedProgress::Chunk> operations;
};

} // namespace progress
