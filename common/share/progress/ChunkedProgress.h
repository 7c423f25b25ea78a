#pragma once

#include <cstdint>
#include <vector>

#include "ProgressUpdater.h"

namespace progress {

// Maps a row of weighted chunks onto a target progress. The bar position is
// the weight of the completed chunks plus the milliseconds credited to the
// current one, scaled to the target's range. Completed chunks are dropped,
// so a chunk can be found only until it completes.
//
// Its own position is the credit of the current chunk, its range that
// chunk's weight, and complete() completes the current chunk.
class ChunkedProgress : public ProgressUpdater {
public:
    struct Chunk {
        unsigned id;
        unsigned weight;  // expected duration in milliseconds
    };

    // Reads the target's range once, here.
    ChunkedProgress(const std::vector<Chunk>& chunks, ProgressUpdater& target);

    unsigned getPosition() const override { return positionInChunk; }
    unsigned getRange() const override { return currentWeight; }
    void step() override { setPosition(positionInChunk + 1); }
    // Credits `p` ms to the current chunk; at or past its weight the chunk
    // completes, so a chunk never holds more than its weight.
    void setPosition(unsigned p) override;
    void complete() override;

    // The current chunk's id, 0 when every chunk is done.
    unsigned getCurrentId() const;

    // Makes chunk `id` current, completing every chunk before it; false
    // (and no change) when it is not at or after the current chunk.
    bool seek(unsigned id);

    // One tick of the timer of chunk `id`: credits `elapsedMs` when `id` is
    // still the current chunk, else answers false.
    bool timeChunk(unsigned id, std::uint64_t elapsedMs);

private:
    void report();

    std::vector<Chunk> chunks;
    ProgressUpdater& target;
    const unsigned targetRange;
    std::uint64_t totalWeight;
    std::uint64_t doneWeight;
    unsigned currentWeight;
    unsigned positionInChunk;
};

} // namespace progress
