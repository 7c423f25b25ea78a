#pragma once

#include <mutex>
#include <vector>

#include "ProgressUpdater.h"

namespace progress {

// A target for tests: keeps every position it was given and counts
// completions. Safe to drive from two threads, as a sequence does.
class RecordingProgress : public ProgressUpdater {
public:
    explicit RecordingProgress(unsigned range = 1000) : range(range) {}

    unsigned getPosition() const override {
        std::lock_guard<std::mutex> lock(mutex);
        return positions.empty() ? 0 : positions.back();
    }
    unsigned getRange() const override { return range; }
    void step() override { setPosition(getPosition() + 1); }
    void setPosition(unsigned position) override {
        std::lock_guard<std::mutex> lock(mutex);
        positions.push_back(position);
    }
    void complete() override {
        std::lock_guard<std::mutex> lock(mutex);
        ++completions;
    }

    std::vector<unsigned> getPositions() const {
        std::lock_guard<std::mutex> lock(mutex);
        return positions;
    }
    int getCompletions() const {
        std::lock_guard<std::mutex> lock(mutex);
        return completions;
    }
    void clear() {
        std::lock_guard<std::mutex> lock(mutex);
        positions.clear();
        completions = 0;
    }

private:
    const unsigned range;
    mutable std::mutex mutex;
    std::vector<unsigned> positions;
    int completions = 0;
};

} // namespace progress
