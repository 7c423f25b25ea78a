#pragma once

#include <cstddef>
#include <cstdint>

// Record layouts of the zip format: little-endian fields at fixed offsets.
namespace zipformat {

const uint32_t kLocalSignature = 0x04034b50;       // "PK" 3 4
const uint32_t kCentralSignature = 0x02014b50;     // "PK" 1 2
const uint32_t kEndSignature = 0x06054b50;         // "PK" 5 6
const uint32_t kZip64EndSignature = 0x06064b50;    // "PK" 6 6
const uint32_t kZip64LocatorSignature = 0x07064b50; // "PK" 6 7

const size_t kLocalHeaderSize = 30;
const size_t kCentralHeaderSize = 46;
const size_t kEndRecordSize = 22;
const size_t kZip64EndRecordSize = 56;
const size_t kZip64LocatorSize = 20;
const size_t kMaxCommentLength = 0xFFFF;

const uint16_t kZip64ExtraTag = 1;
const uint32_t kZip64Magic32 = 0xFFFFFFFF;

const int kStored = 0;
const int kDeflated = 8;

inline uint16_t get16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t get32(const unsigned char* p) {
    return static_cast<uint32_t>(get16(p)) | (static_cast<uint32_t>(get16(p + 2)) << 16);
}

inline uint64_t get64(const unsigned char* p) {
    return static_cast<uint64_t>(get32(p)) | (static_cast<uint64_t>(get32(p + 4)) << 32);
}

// End record fields.
inline uint16_t endTotal(const unsigned char* e) { return get16(e + 10); }
inline uint32_t endCenSize(const unsigned char* e) { return get32(e + 12); }
inline uint32_t endCenOffset(const unsigned char* e) { return get32(e + 16); }
inline uint16_t endCommentLength(const unsigned char* e) { return get16(e + 20); }

// Central header fields.
inline uint16_t cenFlags(const unsigned char* c) { return get16(c + 8); }
inline uint16_t cenMethod(const unsigned char* c) { return get16(c + 10); }
inline uint32_t cenCompressedSize(const unsigned char* c) { return get32(c + 20); }
inline uint32_t cenSize(const unsigned char* c) { return get32(c + 24); }
inline uint16_t cenNameLength(const unsigned char* c) { return get16(c + 28); }
inline uint16_t cenExtraLength(const unsigned char* c) { return get16(c + 30); }
inline uint16_t cenCommentLength(const unsigned char* c) { return get16(c + 32); }
inline uint32_t cenLocalOffset(const unsigned char* c) { return get32(c + 42); }

// Local header fields.
inline uint16_t locNameLength(const unsigned char* l) { return get16(l + 26); }
inline uint16_t locExtraLength(const unsigned char* l) { return get16(l + 28); }

} // namespace zipformat
