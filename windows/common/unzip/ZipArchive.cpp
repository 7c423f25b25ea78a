#include "ZipArchive.h"

#include <algorithm>
#include <new>

#include "ZipFormat.h"
#include "ZipInflater.h"

using namespace zipformat;

namespace {

// Deflate cannot expand one compressed byte to more than 1032 bytes.
const uint64_t kMaxDeflateRatio = 1032;
// Stored data is copied in pieces a 32-bit build can always address.
const size_t kMaxReadPiece = size_t(1) << 30;

const char* const kInvalidEntrySize = "ZIP_Read: corrupt zip file: invalid entry size";

uint64_t ceilDivide(uint64_t value, uint64_t divisor) {
    return value / divisor + (value % divisor != 0 ? 1 : 0);
}

} // namespace

ZipArchive::ZipArchive(std::string name, std::unique_ptr<ZipSource> source)
    : name_(std::move(name)), source_(std::move(source)) {}

const char* ZipArchive::open() {
    return directory_.read(*source_);
}

std::unique_ptr<ZipEntry> ZipArchive::findEntry(const std::string& name) {
    std::lock_guard<std::mutex> guard(lock_);
    std::string wanted = name;
    uint32_t hash = ZipCentralDirectory::hashName(wanted.data(), wanted.size());
    for (;;) {
        if (cachedEntry_ && cachedEntry_->name == wanted) {
            return std::move(cachedEntry_);
        }
        const uint32_t index = directory_.find(hash, wanted);
        if (index != ZipCentralDirectory::kNoEntry) {
            return directory_.entryAt(index);
        }
        // A directory is found by its name without the slash.
        if (!wanted.empty() && wanted.back() == '/') {
            return nullptr;
        }
        wanted += '/';
        hash = ZipCentralDirectory::hashName("/", 1, hash);
    }
}

std::unique_ptr<ZipEntry> ZipArchive::entryAt(size_t index) const {
    if (index >= directory_.count()) {
        return nullptr;
    }
    return directory_.entryAt(static_cast<uint32_t>(index));
}

void ZipArchive::releaseEntry(std::unique_ptr<ZipEntry> entry) {
    std::unique_ptr<ZipEntry> previous;  // freed once the lock is dropped
    std::lock_guard<std::mutex> guard(lock_);
    previous = std::move(cachedEntry_);
    cachedEntry_ = std::move(entry);
}

bool ZipArchive::readLocked(uint64_t offset, void* buffer, size_t length) {
    std::lock_guard<std::mutex> guard(lock_);
    return source_->readAt(offset, buffer, length);
}

bool ZipArchive::resolveDataPosition(ZipEntry& entry, const char** message) {
    if (entry.dataPositionKnown) {
        return true;
    }
    unsigned char header[kLocalHeaderSize];
    if (!readLocked(entry.localHeaderPosition, header, sizeof(header))) {
        *message = "error reading zip file";
        return false;
    }
    if (get32(header) != kLocalSignature) {
        *message = "invalid LOC header (bad signature)";
        return false;
    }
    entry.dataPosition = entry.localHeaderPosition + kLocalHeaderSize +
                         locNameLength(header) + locExtraLength(header);
    entry.dataPositionKnown = true;
    return true;
}

int64_t ZipArchive::read(ZipEntry& entry, uint64_t offset, void* buffer, size_t length,
                         const char** message) {
    const uint64_t entrySize = entry.method == kStored ? entry.size : entry.compressedSize;
    if (offset >= entrySize) {
        *message = "ZIP_Read: specified offset out of range";
        return -1;
    }
    if (length == 0) {
        return 0;
    }
    length = static_cast<size_t>(std::min<uint64_t>(length, entrySize - offset));
    if (!resolveDataPosition(entry, message)) {
        return -1;
    }
    const uint64_t fileLength = source_->size();
    if (entry.dataPosition > fileLength || offset > fileLength - entry.dataPosition ||
        length > fileLength - entry.dataPosition - offset) {
        *message = kInvalidEntrySize;
        return -1;
    }
    if (!readLocked(entry.dataPosition + offset, buffer, length)) {
        *message = "ZIP_Read: error reading zip file";
        return -1;
    }
    return static_cast<int64_t>(length);
}

bool ZipArchive::readEntry(ZipEntry& entry, std::string* content, const char** message) {
    if (!resolveDataPosition(entry, message)) {
        return false;
    }
    const uint64_t fileLength = source_->size();
    const uint64_t available = fileLength - std::min(entry.dataPosition, fileLength);
    const bool stored = entry.method == kStored;
    if ((stored && entry.size > available) ||
        (!stored && (entry.compressedSize > available ||
                     ceilDivide(entry.size, kMaxDeflateRatio) > entry.compressedSize))) {
        *message = kInvalidEntrySize;
        return false;
    }
    const char* const noMemory = "ZIP_ReadEntry: not enough memory for the entry";
    if (entry.size > content->max_size()) {
        *message = noMemory;
        return false;
    }
    try {
        content->assign(static_cast<size_t>(entry.size), '\0');
    } catch (const std::bad_alloc&) {
        *message = noMemory;
        return false;
    }
    unsigned char* out = reinterpret_cast<unsigned char*>(&(*content)[0]);
    if (!stored) {
        return inflateFully(*this, entry, out, message);
    }
    for (uint64_t done = 0; done < entry.size;) {
        const size_t piece = static_cast<size_t>(std::min<uint64_t>(entry.size - done, kMaxReadPiece));
        const int64_t n = read(entry, done, out + done, piece, message);
        if (n <= 0) {
            return false;
        }
        done += static_cast<uint64_t>(n);
    }
    return true;
}
