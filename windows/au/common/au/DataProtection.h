#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace au {

// The system's data protection, never prompting the user. Failures raise
// "encryption failed, sysError=<code>" and the like, code as unsigned decimal.

// Sealed for the current user, or for any account of this machine.
std::vector<uint8_t> protectBytes(const std::vector<uint8_t>& plain, bool localMachine);
std::vector<uint8_t> unprotectBytes(const std::vector<uint8_t>& sealed);

// Base64 without line breaks, and back.
std::string binaryToString(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> stringToBinary(const std::string& text);

} // namespace au
