#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ZipArchive.h"
#include "ZipEntry.h"
#include "ZipSource.h"

// The zip reader's core. Failures come back as static texts.

// Opens the archive file at path (UTF-8), sharing one open archive per path
// between all callers and threads. Null on failure, with *message set to
// "Zip file open error" (the reason is logged).
ZipArchive* ZIP_Open(const char* path, const char** message);

// Opens an archive over any source, outside the cache. Null on failure,
// with *message set to the reason.
ZipArchive* ZIP_OpenSource(const std::string& name, std::unique_ptr<ZipSource> source,
                           const char** message);

// Drops one reference; the last one frees the archive.
void ZIP_Close(ZipArchive* zip);

// The entry named so, or the directory entry named so plus "/". Null when
// there is none. Hand it back with ZIP_FreeEntry.
std::unique_ptr<ZipEntry> ZIP_FindEntry(ZipArchive* zip, const std::string& name);

// The entry at a position of the central directory; null past the end.
std::unique_ptr<ZipEntry> ZIP_GetNextEntry(ZipArchive* zip, size_t index);

void ZIP_FreeEntry(ZipArchive* zip, std::unique_ptr<ZipEntry> entry);

// Up to length bytes of the entry's data as stored, from offset within it:
// the count read, or -1 with *message set.
int64_t ZIP_Read(ZipArchive* zip, ZipEntry* entry, uint64_t offset, void* buffer,
                 size_t length, const char** message);

// The entry's whole uncompressed content. On failure writes
// "<archive>: <reason>" to the standard error stream, sets *message (when
// given) and answers false.
bool ZIP_ReadEntry(ZipArchive* zip, ZipEntry* entry, std::string* content,
                   const char** message = nullptr);
