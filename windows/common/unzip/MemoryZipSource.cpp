#include "MemoryZipSource.h"

#include <cstring>

size_t MemoryZipSource::readSome(uint64_t offset, void* buffer, size_t length) {
    std::memcpy(buffer, bytes_.data() + offset, length);
    return length;
}
