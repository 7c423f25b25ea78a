#include "ZipSource.h"

bool ZipSource::readAt(uint64_t offset, void* buffer, size_t length) {
    const uint64_t total = size();
    if (offset > total || length > total - offset) {
        return false;
    }
    char* out = static_cast<char*>(buffer);
    while (length > 0) {
        const size_t n = readSome(offset, out, length);
        if (n == 0 || n > length) {
            return false;
        }
        out += n;
        offset += n;
        length -= n;
    }
    return true;
}
