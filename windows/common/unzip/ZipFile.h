#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ZipSource.h"

class ZipArchive;

// A read-only zip archive; failures are raised as located runtime errors.
class ZipFile {
public:
    // Entries of 4 GiB or more are never extracted into memory.
    static constexpr uint64_t kMaxEntrySize = 0xFFFFFFFFull;
    // A sane bound for a manifest or any other small text entry.
    static constexpr uint64_t kManifestSizeLimit = uint64_t(1) << 20;

    // Opens (or shares the already open) archive at path, UTF-8.
    explicit ZipFile(const std::string& path);
    // An archive over any source, named for messages.
    ZipFile(const std::string& name, std::unique_ptr<ZipSource> source);
    ~ZipFile();
    ZipFile(const ZipFile&) = delete;
    ZipFile& operator=(const ZipFile&) = delete;

    const std::string& name() const { return name_; }
    ZipArchive* archive() const { return zip_; }

    // The entry's bytes as they are stored uncompressed (no conversion).
    // Raises when the entry is missing, a directory, unreadable, or larger
    // than maxSize.
    std::string extractEntryAsUtf8String(const std::string& entryName,
                                         uint64_t maxSize = kMaxEntrySize) const;

private:
    const std::string name_;
    ZipArchive* zip_;
};
