#include "InstalledCalyxSlots.h"

#include "TeguError.h"

namespace {

int otherBits(int bits) {
    return bits == 32 ? 64 : 32;
}

int otherType(int type) {
    return type == CXR ? CXS : CXR;
}

} // namespace

size_t InstalledCalyxSlots::itemIndex(int type, int bits) {
    if ((type == CXR || type == CXS) && (bits == 32 || bits == 64)) {
        return (type == CXS ? 2 : 0) + (bits == 64 ? 1 : 0);
    }
    JP_THROW(std::invalid_argument("Unexpected 'tag'"));
}

void InstalledCalyxSlots::set(const InstalledCalyx& product) {
    slots_[itemIndex(product.type(), product.bits())] = product;
}

void InstalledCalyxSlots::fillType(int type, const InstalledCalyxSlots& other) {
    for (int bits : {32, 64}) slots_[itemIndex(type, bits)] = other.get(type, bits);
}

void InstalledCalyxSlots::fillBits(int bits, const InstalledCalyxSlots& other) {
    for (int type : {CXR, CXS}) slots_[itemIndex(type, bits)] = other.get(type, bits);
}

const InstalledCalyx* InstalledCalyxSlots::best(int type, int bits) const {
    const size_t first = itemIndex(type, bits);
    for (const size_t index : {first, itemIndex(type, otherBits(bits)),
                               itemIndex(otherType(type), bits),
                               itemIndex(otherType(type), otherBits(bits))}) {
        if (slots_[index]) return &*slots_[index];
    }
    return nullptr;
}
