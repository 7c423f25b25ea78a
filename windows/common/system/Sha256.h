#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// SHA-256 through the system's cryptographic provider, as 64 lower-case
// hexadecimal digits. Failures raise located system errors.
namespace sha256 {

std::string ofBytes(const void* data, size_t size);
// Reads the file from its start through the given handle.
std::string ofOpenFile(HANDLE file);

} // namespace sha256
