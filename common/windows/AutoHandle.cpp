#include "AutoHandle.h"

#include "Log.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

void logCloseFailure(const char* call, const void* handle, DWORD error) {
    LOG_AT_NAMED(LOG_ERROR, "WinAutoHandle",
                 systemFailure(tstrings::sformat("%s%p)", call, handle), error));
}

} // namespace

void closeHANDLE(HANDLE h) {
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return;
    if (!CloseHandle(h)) logCloseFailure("CloseHandle(", h, GetLastError());
}

void closeFindHandle(HANDLE h) {
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return;
    if (!FindClose(h)) logCloseFailure("FindClose(", h, GetLastError());
}

void closeRegHandle(HKEY h) {
    if (h == nullptr) return;
    const LONG status = RegCloseKey(h);
    if (status != ERROR_SUCCESS) logCloseFailure("RegCloseKey(", h, static_cast<DWORD>(status));
}

void closeModule(HMODULE h) {
    if (h == nullptr) return;
    if (!FreeLibrary(h)) logCloseFailure("FreeLibrary(", h, GetLastError());
}

void closeMappedView(void* view) {
    if (view == nullptr) return;
    if (!UnmapViewOfFile(view)) logCloseFailure("UnmapViewOfFile(", view, GetLastError());
}

void closeCryptProvider(HCRYPTPROV h) {
    if (h == 0) return;
    if (!CryptReleaseContext(h, 0)) logCloseFailure("CryptReleaseContext(", reinterpret_cast<void*>(h), GetLastError());
}

void closeCryptHash(HCRYPTHASH h) {
    if (h == 0) return;
    if (!CryptDestroyHash(h)) logCloseFailure("CryptDestroyHash(", reinterpret_cast<void*>(h), GetLastError());
}

void closeMsiHandle(MSIHANDLE h) {
    if (h == 0) return;
    const UINT status = MsiCloseHandle(h);
    if (status != ERROR_SUCCESS) {
        logCloseFailure("MsiCloseHandle(", reinterpret_cast<const void*>(static_cast<uintptr_t>(h)),
                        status);
    }
}

void closeLocalMemory(HLOCAL h) {
    if (h == nullptr) return;
    if (LocalFree(h) != nullptr) logCloseFailure("LocalFree(", h, GetLastError());
}

void closeInternetHandle(HINTERNET h) {
    if (h == nullptr) return;
    if (!InternetCloseHandle(h)) logCloseFailure("InternetCloseHandle(", h, GetLastError());
}
