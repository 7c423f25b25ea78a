#pragma once

// What the progress controller needs of a page that shows a bar: a
// percentage, from 0 to 100, called from the controller's own threads.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void setProgress(double percent) = 0;
};
