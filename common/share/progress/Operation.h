#pragma once

#include <cstdint>
#include <type_traits>

namespace progress {

// One mailbox record as the installer and the package's custom actions
// share it: the operation id, then its state, each an unsigned 32-bit
// little-endian value (the native layout on every Windows target).
class Operation {
public:
    enum State : std::uint32_t { Invalid = 0, Started = 1, Finished = 2, Terminated = 3 };

    Operation() : id(0), state(Invalid) {}
    Operation(std::uint32_t id, std::uint32_t state) : id(id), state(state) {}

    std::uint32_t getId() const { return id; }
    // Any value: a writer in another process may store one outside State.
    std::uint32_t getState() const { return state; }

    bool operator==(const Operation& other) const {
        return id == other.id && state == other.state;
    }
    bool operator!=(const Operation& other) const { return !(*this == other); }

private:
    std::uint32_t id;
    std::uint32_t state;
};

static_assert(sizeof(Operation) == 8, "the mailbox record is 8 bytes");
static_assert(std::is_trivially_copyable<Operation>::value, "the record is copied as bytes");

} // namespace progress
