#pragma once

#include <cstdint>

#include "ZipSource.h"

// What the end record (or the zip64 end record it defers to) says about the
// central directory.
struct ZipEndRecord {
    bool found = false;
    uint64_t position = 0;  // where the record the directory ends at begins
    uint64_t cenLength = 0;
    uint64_t cenOffset = 0;  // relative to the first local header
    uint64_t totalEntries = 0;
};

// Scans backwards over the last 65557 bytes for the end record, then applies
// the zip64 end record that a zip64 locator right before it points at. Null on
// success (record->found tells whether there was one), else the reason.
const char* findZipEndRecord(ZipSource& source, ZipEndRecord* record);
