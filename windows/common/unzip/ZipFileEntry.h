#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ZipEntry.h"

class ZipFile;

// One entry of a ZipFile, handed back to the archive's one-entry cache on
// release (or destruction). Any use after release raises std::logic_error.
class ZipFileEntry {
public:
    // Raises "ZIP_FindEntry(<archive>, <name>) failed" when there is no such
    // entry (nor directory entry "<name>/").
    ZipFileEntry(const ZipFile& file, const std::string& name);
    ~ZipFileEntry();
    ZipFileEntry(const ZipFileEntry&) = delete;
    ZipFileEntry& operator=(const ZipFileEntry&) = delete;

    const std::string& name() const;
    uint64_t size() const;
    uint64_t compressedSize() const;
    // Both sizes zero and a name ending in "/".
    bool isDirectory() const;

    // The whole uncompressed content; false with *reason set on failure.
    bool read(std::string* content, const char** reason) const;

    void release();

private:
    ZipEntry& entry() const;

    const ZipFile& file_;
    std::unique_ptr<ZipEntry> entry_;
};
