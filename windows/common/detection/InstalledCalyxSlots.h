#pragma once

#include <array>
#include <optional>

#include "InstalledCalyx.h"

// At most one product per runtime or development kit and architecture.
class InstalledCalyxSlots {
public:
    // (CXR, 32) 0, (CXR, 64) 1, (CXS, 32) 2, (CXS, 64) 3; raises
    // std::invalid_argument "Unexpected 'tag'" for any other pair.
    static size_t itemIndex(int type, int bits);

    const std::optional<InstalledCalyx>& get(int type, int bits) const {
        return slots_[itemIndex(type, bits)];
    }
    // Puts the product into the slot of its type and bits.
    void set(const InstalledCalyx& product);
    void clear(int type, int bits) { slots_[itemIndex(type, bits)].reset(); }

    // Takes other's two slots of the type (both architectures).
    void fillType(int type, const InstalledCalyxSlots& other);
    // Takes other's two slots of the architecture (both types).
    void fillBits(int bits, const InstalledCalyxSlots& other);

    // The first product of (type, bits), (type, other bits), (other type,
    // bits), (other type, other bits); null when all are empty.
    const InstalledCalyx* best(int type, int bits) const;

private:
    std::array<std::optional<InstalledCalyx>, 4> slots_;
};
