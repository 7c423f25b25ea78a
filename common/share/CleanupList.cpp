#include "CleanupList.h"

#include "BestEffort.h"

void CleanupList::runNow(int place) {
    const auto found = steps_.find(place);
    if (found == steps_.end()) return;
    // Taken out first: a step that raises must not run again.
    const std::function<void()> step = std::move(found->second);
    steps_.erase(found);
    bestEffort(name_, step);
}

void CleanupList::runAll() {
    while (!steps_.empty()) runNow(steps_.begin()->first);
}
