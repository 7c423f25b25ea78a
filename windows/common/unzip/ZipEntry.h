#pragma once

#include <cstdint>
#include <string>

// One entry as its central header describes it. The data position is learnt
// from the local header on first read.
struct ZipEntry {
    std::string name;
    uint64_t size = 0;            // uncompressed
    uint64_t compressedSize = 0;  // 0 for stored entries
    int method = 0;
    uint64_t localHeaderPosition = 0;
    uint64_t dataPosition = 0;
    bool dataPositionKnown = false;
};
