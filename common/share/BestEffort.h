#pragma once

#include <exception>
#include <utility>

#include "Log.h"

// Runs a step whose failure must not end the run: anything it raises is
// logged as caught, under the name the log knows the step by, and the
// caller goes on. True when the step finished.
template <class Step>
bool bestEffort(const char* name, Step&& step) {
    try {
        std::forward<Step>(step)();
        return true;
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED(name), e);
    } catch (...) {
        reportCaughtException(SOURCE_LOCATION_NAMED(name));
    }
    return false;
}
