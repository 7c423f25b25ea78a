#pragma once

#include <stdexcept>

namespace ipc {

// Failures of the primitives. The text is always "ipc error"; the located
// wrapper (TeguError) says where it was raised.
class Error : public std::runtime_error {
public:
    Error() : std::runtime_error("ipc error") {}
};

// A kernel call failed; code() is the system's error code.
class PlatformError : public Error {
public:
    explicit PlatformError(unsigned long code) : code_(code) {}
    unsigned long code() const { return code_; }

private:
    unsigned long code_;
};

// A wait ran out of time.
class TimeoutExpiredError : public Error {};

} // namespace ipc
