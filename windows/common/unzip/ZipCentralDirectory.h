#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ZipEntry.h"
#include "ZipSource.h"

// The central directory held in memory with a hash index of its names.
class ZipCentralDirectory {
public:
    static constexpr uint32_t kNoEntry = 0xFFFFFFFF;

    // Finds, checks and indexes the directory. Null on success, else the
    // reason. A source without an end record gives an empty directory.
    const char* read(ZipSource& source);

    size_t count() const { return cells_.size(); }

    // Index of the last entry named exactly so, kNoEntry when none;
    // hash must be the name's hashName.
    uint32_t find(uint32_t hash, const std::string& name) const;

    std::unique_ptr<ZipEntry> entryAt(uint32_t index) const;

    // h = 31 * h + byte, bytes taken as signed, continuing from seed.
    static uint32_t hashName(const char* bytes, size_t length, uint32_t seed = 0);

private:
    struct Cell {
        uint32_t hash;
        uint32_t next;  // next entry of the same chain, or kNoEntry
        uint32_t offset;  // of the central header
    };

    const char* index(uint64_t declaredEntries);

    std::vector<unsigned char> cen_;
    std::vector<Cell> cells_;
    std::vector<uint32_t> table_;
    uint64_t localHeadersStart_ = 0;
};
