#include "MemoryZipSource.h"

#include <cstring>

bool MemoryZipSource::readAt(uint64_t offset, void* buffer, size_t length) {
    if (offset > bytes_.size() || length > bytes_.size() - offset) {
        return false;
    }
    if (length != 0) {
        std::memcpy(buffer, bytes_.data() + offset, length);
    }
    return true;
}
