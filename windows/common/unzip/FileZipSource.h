#pragma once

#include <memory>
#include <string>

#include "ZipSource.h"

// Opens an existing file (UTF-8 path) for reading, letting others read and
// write it meanwhile. Null on failure, with *error describing why.
std::unique_ptr<ZipSource> openFileZipSource(const std::string& path, std::string* error);
