#pragma once

#include <mutex>
#include <stdexcept>
#include <vector>

#include "ProgressView.h"

// A progress page for tests: keeps every percentage it was given and, when
// asked to, raises after keeping it.
class RecordingProgressView : public ProgressView {
public:
    explicit RecordingProgressView(bool raises = false) : raises(raises) {}

    void setProgress(double percent) override {
        {
            std::lock_guard<std::mutex> lock(mutex);
            values.push_back(percent);
        }
        if (raises) {
            throw std::runtime_error("page gone");
        }
    }

    std::vector<double> getValues() const {
        std::lock_guard<std::mutex> lock(mutex);
        return values;
    }

private:
    const bool raises;
    mutable std::mutex mutex;
    std::vector<double> values;
};
