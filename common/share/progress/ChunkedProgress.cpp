#include "ChunkedProgress.h"

#include <algorithm>

namespace progress {

ChunkedProgress::ChunkedProgress(const std::vector<Chunk>& chunks, ProgressUpdater& target)
    : chunks(chunks), target(target), targetRange(target.getRange()), totalWeight(0),
      doneWeight(0), currentWeight(chunks.empty() ? 0 : chunks.front().weight),
      positionInChunk(0) {
    for (const Chunk& c : chunks) {
        totalWeight += c.weight;
    }
}

void ChunkedProgress::report() {
    const std::uint64_t value = doneWeight + positionInChunk;
    if (value == totalWeight) {
        target.complete();
        return;
    }
    const double scaled = static_cast<double>(value) / static_cast<double>(totalWeight) *
                              static_cast<double>(targetRange) + 0.5;
    target.setPosition(static_cast<unsigned>(scaled));
}

void ChunkedProgress::setPosition(unsigned p) {
    if (chunks.empty()) {
        return;
    }
    if (p >= currentWeight) {
        complete();
    } else if (p != positionInChunk) {
        positionInChunk = p;
        report();
    }
}

void ChunkedProgress::complete() {
    if (chunks.empty()) {
        return;
    }
    chunks.erase(chunks.begin());
    positionInChunk = currentWeight;
    report();
    doneWeight += currentWeight;
    positionInChunk = 0;
    currentWeight = chunks.empty() ? 0 : chunks.front().weight;
}

unsigned ChunkedProgress::getCurrentId() const {
    return chunks.empty() ? 0 : chunks.front().id;
}

bool ChunkedProgress::seek(unsigned id) {
    const auto found = std::find_if(chunks.begin(), chunks.end(),
                                    [id](const Chunk& c) { return c.id == id; });
    if (found == chunks.end()) {
        return false;
    }
    for (auto n = found - chunks.begin(); n > 0; --n) {
        complete();
    }
    return true;
}

bool ChunkedProgress::timeChunk(unsigned id, std::uint64_t elapsedMs) {
    if (id == 0 || getCurrentId() != id) {
        return false;
    }
    setPosition(static_cast<unsigned>(std::min<std::uint64_t>(elapsedMs, currentWeight)));
    return true;
}

} // namespace progress
