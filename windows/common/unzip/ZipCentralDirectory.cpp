#include "ZipCentralDirectory.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "ZipEndRecord.h"
#include "ZipFormat.h"

using namespace zipformat;

namespace {

// Takes the 64-bit values of a zip64 extra field (tag 1) for the fields that
// hold all ones, in the format's order: size, compressed size, offset.
void applyZip64Extra(const unsigned char* extra, size_t length, uint64_t* size,
                     uint64_t* compressedSize, uint64_t* offset) {
    size_t at = 0;
    while (length - at >= 4) {
        const uint16_t tag = get16(extra + at);
        const size_t fieldLength = get16(extra + at + 2);
        at += 4;
        if (fieldLength > length - at) {
            return;
        }
        if (tag == kZip64ExtraTag) {
            const unsigned char* field = extra + at;
            size_t left = fieldLength;
            for (uint64_t* value : {size, compressedSize, offset}) {
                if (*value == kZip64Magic32 && left >= 8) {
                    *value = get64(field);
                    field += 8;
                    left -= 8;
                }
            }
            return;
        }
        at += fieldLength;
    }
}

} // namespace

uint32_t ZipCentralDirectory::hashName(const char* bytes, size_t length, uint32_t seed) {
    uint32_t h = seed;
    for (size_t i = 0; i < length; ++i) {
        h = 31 * h + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(bytes[i])));
    }
    return h;
}

const char* ZipCentralDirectory::read(ZipSource& source) {
    cen_.clear();
    cells_.clear();
    table_.assign(1, kNoEntry);
    ZipEndRecord end;
    if (const char* message = findZipEndRecord(source, &end)) {
        return message;
    }
    if (!end.found) {
        return nullptr;
    }
    // The directory is read whole, so its size is held to 32 bits: that is
    // millions of entries, and keeps the allocation within any build.
    if (end.cenLength > end.position || end.cenLength > std::numeric_limits<uint32_t>::max()) {
        return "invalid END header (bad central directory size)";
    }
    const uint64_t cenPosition = end.position - end.cenLength;
    if (end.cenOffset > cenPosition) {
        return "invalid END header (bad central directory offset)";
    }
    localHeadersStart_ = cenPosition - end.cenOffset;
    try {
        cen_.resize(static_cast<size_t>(end.cenLength));
        if (!source.readAt(cenPosition, cen_.data(), cen_.size())) {
            return "error reading zip file";
        }
        return index(end.totalEntries);
    } catch (const std::exception&) {
        // bad_alloc, or length_error past what a 32-bit build can address
        return "not enough memory for the central directory";
    }
}

const char* ZipCentralDirectory::index(uint64_t declaredEntries) {
    const size_t cenLength = cen_.size();
    // The declared count only sizes the table: the headers themselves decide.
    cells_.reserve(static_cast<size_t>(
        std::min<uint64_t>(declaredEntries, cenLength / kCentralHeaderSize)));
    size_t at = 0;
    while (at <= cenLength && cenLength - at >= kCentralHeaderSize) {
        const unsigned char* header = cen_.data() + at;
        if (get32(header) != kCentralSignature) {
            return "invalid CEN header (bad signature)";
        }
        if (cenFlags(header) & 1) {
            return "invalid CEN header (encrypted entry)";
        }
        if (cenMethod(header) != kStored && cenMethod(header) != kDeflated) {
            return "invalid CEN header (bad compression method)";
        }
        const size_t nameLength = cenNameLength(header);
        if (nameLength > cenLength - at - kCentralHeaderSize) {
            return "invalid CEN header (bad header size)";
        }
        const char* name = reinterpret_cast<const char*>(header) + kCentralHeaderSize;
        cells_.push_back(Cell{hashName(name, nameLength), kNoEntry, static_cast<uint32_t>(at)});
        at += kCentralHeaderSize + nameLength + cenExtraLength(header) + cenCommentLength(header);
    }
    if (at != cenLength) {
        return "invalid CEN header (bad header size)";
    }
    table_.assign((cells_.size() / 2) | 1, kNoEntry);
    for (uint32_t i = 0; i < cells_.size(); ++i) {
        uint32_t& head = table_[cells_[i].hash % table_.size()];
        cells_[i].next = head;
        head = i;
    }
    return nullptr;
}

uint32_t ZipCentralDirectory::find(uint32_t hash, const std::string& name) const {
    for (uint32_t i = table_[hash % table_.size()]; i != kNoEntry; i = cells_[i].next) {
        if (cells_[i].hash != hash) {
            continue;
        }
        const unsigned char* header = cen_.data() + cells_[i].offset;
        if (cenNameLength(header) == name.size() &&
            std::memcmp(header + kCentralHeaderSize, name.data(), name.size()) == 0) {
            return i;
        }
    }
    return kNoEntry;
}

std::unique_ptr<ZipEntry> ZipCentralDirectory::entryAt(uint32_t index) const {
    const unsigned char* header = cen_.data() + cells_.at(index).offset;
    const size_t nameLength = cenNameLength(header);
    auto entry = std::make_unique<ZipEntry>();
    entry->name.assign(reinterpret_cast<const char*>(header) + kCentralHeaderSize, nameLength);
    entry->method = cenMethod(header);
    entry->size = cenSize(header);
    entry->compressedSize = cenCompressedSize(header);
    uint64_t offset = cenLocalOffset(header);
    applyZip64Extra(header + kCentralHeaderSize + nameLength, cenExtraLength(header),
                    &entry->size, &entry->compressedSize, &offset);
    if (entry->method == kStored) {
        entry->compressedSize = 0;
    }
    // An offset past any file makes the later read fail, not wrap around.
    entry->localHeaderPosition = offset > std::numeric_limits<uint64_t>::max() - localHeadersStart_
                                     ? std::numeric_limits<uint64_t>::max()
                                     : localHeadersStart_ + offset;
    return entry;
}
