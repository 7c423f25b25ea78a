#pragma once

namespace progress {

// Something that has advanced `getPosition()` out of `getRange()`.
class Progress {
public:
    virtual ~Progress() {}
    virtual unsigned getPosition() const = 0;
    // The position that means complete.
    virtual unsigned getRange() const = 0;
};

} // namespace progress
