#pragma once

#include <cstddef>
#include <cstdint>

// The bytes of an archive, read at absolute offsets. Keeps the zip core free
// of any file API so it can be fed from memory as well as from disk.
class ZipSource {
public:
    virtual ~ZipSource() = default;

    // Length in bytes, fixed when the source was opened.
    virtual uint64_t size() const = 0;

    // Fills buffer with exactly length bytes from offset. False, with the
    // buffer's content unspecified, when the range is not wholly inside the
    // source or the read fails. Safe to call from several threads.
    bool readAt(uint64_t offset, void* buffer, size_t length);

protected:
    // Reads between 1 and length (> 0) bytes at offset, a range inside the
    // source: the count read, 0 on failure.
    virtual size_t readSome(uint64_t offset, void* buffer, size_t length) = 0;
};
