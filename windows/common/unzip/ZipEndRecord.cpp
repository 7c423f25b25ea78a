#include "ZipEndRecord.h"

#include "ZipFormat.h"

using namespace zipformat;

namespace {

const size_t kBlockSize = 128;
// Consecutive blocks share enough bytes for a record that straddles them.
const size_t kBlockOverlap = kEndRecordSize - 1;

bool signatureAt(ZipSource& source, uint64_t position, uint32_t signature) {
    unsigned char bytes[4];
    return source.readAt(position, bytes, sizeof(bytes)) && get32(bytes) == signature;
}

// A signature alone may be data: the record must end the file exactly, or
// point at a central header and a first local header that are really there.
bool isEndRecord(ZipSource& source, const unsigned char* record, uint64_t position) {
    if (position + kEndRecordSize + endCommentLength(record) == source.size()) {
        return true;
    }
    const uint64_t cenLength = endCenSize(record);
    const uint64_t cenOffset = endCenOffset(record);
    if (cenLength > position || cenOffset > position - cenLength) {
        return false;
    }
    const uint64_t cenPosition = position - cenLength;
    return signatureAt(source, cenPosition, kCentralSignature) &&
           signatureAt(source, cenPosition - cenOffset, kLocalSignature);
}

// Replaces the 32-bit values by those of a zip64 end record, when a valid
// locator right before the end record leads to one. Some writers add these
// records while the 32-bit fields still hold true values; the directory then
// ends at the zip64 record, not at the end record, so they apply all the same.
void applyZip64(ZipSource& source, ZipEndRecord* record) {
    if (record->position < kZip64LocatorSize) {
        return;
    }
    const uint64_t locatorPosition = record->position - kZip64LocatorSize;
    unsigned char locator[kZip64LocatorSize];
    if (!source.readAt(locatorPosition, locator, sizeof(locator)) ||
        get32(locator) != kZip64LocatorSignature) {
        return;
    }
    const uint64_t endPosition = get64(locator + 8);
    unsigned char end[kZip64EndRecordSize];
    if (endPosition > locatorPosition || locatorPosition - endPosition < sizeof(end) ||
        !source.readAt(endPosition, end, sizeof(end)) || get32(end) != kZip64EndSignature) {
        return;
    }
    record->position = endPosition;
    record->totalEntries = get64(end + 32);
    record->cenLength = get64(end + 40);
    record->cenOffset = get64(end + 48);
}

} // namespace

const char* findZipEndRecord(ZipSource& source, ZipEndRecord* record) {
    *record = ZipEndRecord();
    const uint64_t length = source.size();
    const uint64_t maxRecordSpan = kMaxCommentLength + kEndRecordSize;
    const uint64_t lowest = length > maxRecordSpan ? length - maxRecordSpan : 0;
    unsigned char block[kBlockSize];
    uint64_t blockEnd = length;
    while (blockEnd >= lowest + kEndRecordSize) {
        const uint64_t blockStart =
            blockEnd - lowest > kBlockSize ? blockEnd - kBlockSize : lowest;
        const size_t blockLength = static_cast<size_t>(blockEnd - blockStart);
        if (!source.readAt(blockStart, block, blockLength)) {
            return "error reading zip file";
        }
        for (size_t i = blockLength - kEndRecordSize + 1; i-- > 0;) {
            if (get32(block + i) == kEndSignature && isEndRecord(source, block + i, blockStart + i)) {
                const unsigned char* end = block + i;
                record->found = true;
                record->position = blockStart + i;
                record->cenLength = endCenSize(end);
                record->cenOffset = endCenOffset(end);
                record->totalEntries = endTotal(end);
                applyZip64(source, record);
                return nullptr;
            }
        }
        if (blockStart == lowest) {
            break;
        }
        blockEnd = blockStart + kBlockOverlap;
    }
    return nullptr;
}
