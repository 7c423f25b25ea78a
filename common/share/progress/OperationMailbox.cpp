#include "OperationMailbox.h"

#include <algorithm>
#include <cassert>

namespace progress {

const char* const OperationMailbox::SharedMemoryName = "TeguOperationSequenceSharedMemory";

OperationMailbox::OperationMailbox() {
    const unsigned expectedSeconds[] = {20, 10, 30, 40, 20, 10, 5};
    unsigned id = 0;
    for (unsigned seconds : expectedSeconds) {
        setOperation(++id, seconds);
    }
}

void OperationMailbox::setOperation(unsigned id, unsigned seconds) {
    assert(id);
    const auto entry = std::find_if(operations.begin(), operations.end(),
                                    [id](const ChunkedProgress::Chunk& c) { return c.id == id; });
    if (seconds == 0) {
        if (entry != operations.end()) {
            operations.erase(entry);
        }
    } else if (entry != operations.end()) {
        entry->weight = seconds * 1000;
    } else {
        operations.push_back(ChunkedProgress::Chunk{id, seconds * 1000});
    }
}

} // namespace progress
