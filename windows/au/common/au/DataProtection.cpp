#include "DataProtection.h"

#include <windows.h>
#include <wincrypt.h>

#include <stdexcept>

#include "AutoHandle.h"
#include "TeguError.h"

// The last error, taken before the message is built, as the texts need it.
#define AU_THROW_SYS_ERROR(text)                                                 \
    do {                                                                         \
        const DWORD auLastError_ = GetLastError();                               \
        JP_THROW_MSG(std::string(text) + std::to_string(auLastError_));          \
    } while (0)

namespace au {

namespace {

// The blob the service allocated, copied out and freed.
std::vector<uint8_t> takeBlob(DATA_BLOB& blob) {
    UniqueLocalMemory owned(blob.pbData);
    return std::vector<uint8_t>(blob.pbData, blob.pbData + blob.cbData);
}

DATA_BLOB blobOf(const std::vector<uint8_t>& bytes) {
    DATA_BLOB blob;
    blob.cbData = static_cast<DWORD>(bytes.size());
    blob.pbData = const_cast<BYTE*>(bytes.data());
    return blob;
}

} // namespace

std::vector<uint8_t> protectBytes(const std::vector<uint8_t>& plain, bool localMachine) {
    DATA_BLOB in = blobOf(plain);
    DATA_BLOB out = {};
    const DWORD flags = CRYPTPROTECT_UI_FORBIDDEN | (localMachine ? CRYPTPROTECT_LOCAL_MACHINE : 0);
    if (!CryptProtectData(&in, nullptr, nullptr, nullptr, nullptr, flags, &out)) {
        AU_THROW_SYS_ERROR("encryption failed, sysError=");
    }
    return takeBlob(out);
}

std::vector<uint8_t> unprotectBytes(const std::vector<uint8_t>& sealed) {
    DATA_BLOB in = blobOf(sealed);
    DATA_BLOB out = {};
    if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) {
        AU_THROW_SYS_ERROR("decryption failed, sysError=");
    }
    return takeBlob(out);
}

std::string binaryToString(const std::vector<uint8_t>& bytes) {
    const DWORD flags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
    DWORD size = 0;
    if (!CryptBinaryToStringA(bytes.data(), static_cast<DWORD>(bytes.size()), flags, nullptr, &size)) {
        AU_THROW_SYS_ERROR("binary2string (phase1) failed, sysError=");
    }
    std::string text(size, '\0');
    if (!CryptBinaryToStringA(bytes.data(), static_cast<DWORD>(bytes.size()), flags, &text[0], &size)) {
        AU_THROW_SYS_ERROR("binary2string (phase2) failed, sysError=");
    }
    // The second call answers the length without the terminating zero.
    text.resize(size);
    return text;
}

std::vector<uint8_t> stringToBinary(const std::string& text) {
    DWORD size = 0;
    if (!CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64,
                              nullptr, &size, nullptr, nullptr)) {
        AU_THROW_SYS_ERROR("string2binary (phase1) failed, sysError=");
    }
    std::vector<uint8_t> bytes(size);
    if (!CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64,
                              bytes.data(), &size, nullptr, nullptr)) {
        AU_THROW_SYS_ERROR("string2binary (phase2) failed, sysError=");
    }
    bytes.resize(size);
    return bytes;
}

} // namespace au
