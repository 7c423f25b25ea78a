#pragma once

#include <string>

// Conversion between UTF-8 and a Windows code page through the host's iconv.
// Code page 0 (neutral) and 65001 hold UTF-8 text already.
namespace text {

std::string toUtf8(const std::string& bytes, unsigned codepage);
std::string fromUtf8(const std::string& utf8, unsigned codepage);

} // namespace text
