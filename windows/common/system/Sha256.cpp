#include "Sha256.h"

#include <wincrypt.h>

#include <vector>

#include "AutoHandle.h"
#include "WinErrorHandling.h"

namespace {

class Hasher {
public:
    Hasher() {
        JP_CHECK_BOOL(CryptAcquireContextA(provider_.receive(), nullptr, nullptr, PROV_RSA_AES,
                                           CRYPT_VERIFYCONTEXT),
                      "CryptAcquireContext", CryptAcquireContextA);
        JP_CHECK_BOOL(CryptCreateHash(provider_.get(), CALG_SHA_256, 0, 0, hash_.receive()),
                      "CryptCreateHash", CryptCreateHash);
    }

    void add(const void* data, size_t size) {
        const BYTE* p = static_cast<const BYTE*>(data);
        while (size > 0) {
            const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
            JP_CHECK_BOOL(CryptHashData(hash_.get(), p, chunk, 0), "CryptHashData", CryptHashData);
            p += chunk;
            size -= chunk;
        }
    }

    std::string hex() {
        BYTE digest[32] = {};
        DWORD size = sizeof(digest);
        JP_CHECK_BOOL(CryptGetHashParam(hash_.get(), HP_HASHVAL, digest, &size, 0),
                      "CryptGetHashParam", CryptGetHashParam);
        static const char* const kDigits = "0123456789abcdef";
        std::string text;
        for (DWORD i = 0; i < size; ++i) {
            text += kDigits[digest[i] >> 4];
            text += kDigits[digest[i] & 15];
        }
        return text;
    }

private:
    // Declared first so the hash is destroyed before its provider.
    UniqueCryptProvider provider_;
    UniqueCryptHash hash_;
};

} // namespace

namespace sha256 {

std::string ofBytes(const void* data, size_t size) {
    Hasher hasher;
    hasher.add(data, size);
    return hasher.hex();
}

std::string ofOpenFile(HANDLE file) {
    LARGE_INTEGER start = {};
    JP_CHECK_BOOL(SetFilePointerEx(file, start, nullptr, FILE_BEGIN), "SetFilePointerEx",
                  SetFilePointerEx);
    Hasher hasher;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        DWORD read = 0;
        JP_CHECK_BOOL(ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr),
                      "ReadFile", ReadFile);
        if (read == 0) break;
        hasher.add(buffer.data(), read);
    }
    return hasher.hex();
}

} // namespace sha256
