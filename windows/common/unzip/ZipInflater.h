#pragma once

#include "ZipArchive.h"

// Inflates a deflated entry (raw deflate stream, 32 KiB window) into out,
// which holds entry.size bytes. The stream must end exactly where both the
// compressed and the uncompressed size are reached. False with *message
// set on failure.
bool inflateFully(ZipArchive& zip, ZipEntry& entry, unsigned char* out, const char** message);
