#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "ZipCentralDirectory.h"
#include "ZipEntry.h"
#include "ZipSource.h"

// One open archive: its source, its indexed central directory and a
// one-entry cache of the last released entry. Lookups and reads take the
// archive's own lock, so threads can share it. Failures are reported as
// static texts.
class ZipArchive {
public:
    ZipArchive(std::string name, std::unique_ptr<ZipSource> source);

    // Reads the central directory. Null on success, else the reason.
    const char* open();

    const std::string& name() const { return name_; }
    size_t entryCount() const { return directory_.count(); }

    // The entry named so; failing that, the one named so plus "/". Null
    // when neither exists. The caller owns the entry until releaseEntry.
    std::unique_ptr<ZipEntry> findEntry(const std::string& name);

    // The entry at a position of the central directory; null past the end.
    std::unique_ptr<ZipEntry> entryAt(size_t index) const;

    // Keeps the entry for the next lookup of the same name.
    void releaseEntry(std::unique_ptr<ZipEntry> entry);

    // Copies up to length bytes of the entry's data as stored, from offset
    // within it. The count copied, or -1 with *message set.
    int64_t read(ZipEntry& entry, uint64_t offset, void* buffer, size_t length,
                 const char** message);

    // The whole uncompressed content. Sizes the file cannot hold are refused
    // before anything is allocated. False with *message set on failure.
    bool readEntry(ZipEntry& entry, std::string* content, const char** message);

    // Maintained by the open-archive cache under its lock.
    unsigned references = 1;
    bool cached = false;

private:
    bool resolveDataPosition(ZipEntry& entry, const char** message);
    bool readLocked(uint64_t offset, void* buffer, size_t length);

    const std::string name_;
    const std::unique_ptr<ZipSource> source_;
    ZipCentralDirectory directory_;
    std::mutex lock_;
    std::unique_ptr<ZipEntry> cachedEntry_;
};
