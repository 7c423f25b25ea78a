#pragma once

#include "Progress.h"

namespace progress {

// A progress that can be moved.
class ProgressUpdater : public Progress {
public:
    // Moves to the current position plus one.
    virtual void step() = 0;
    virtual void setPosition(unsigned position) = 0;
    virtual void complete() = 0;
};

} // namespace progress
