#pragma once

#include <functional>
#include <map>

// What a run must undo at its end, registered when it is acquired. Each
// entry has its place in the end's fixed order, runs at most once, and runs
// even when an earlier one failed (the failure is logged under name).
class CleanupList {
public:
    explicit CleanupList(const char* name) : name_(name) {}
    CleanupList(const CleanupList&) = delete;
    CleanupList& operator=(const CleanupList&) = delete;

    // Registers (or replaces) the step at place.
    void add(int place, std::function<void()> step) { steps_[place] = std::move(step); }
    bool has(int place) const { return steps_.count(place) != 0; }

    // Runs the step at place now, when there is one.
    void runNow(int place);
    // Runs every registered step, in the order of their places.
    void runAll();

private:
    const char* name_;
    std::map<int, std::function<void()>> steps_;
};
