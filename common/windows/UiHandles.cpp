#include "UiHandles.h"

#include <objbase.h>

#include "Log.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

void logCloseFailure(const char* call, const void* handle, DWORD error) {
    LOG_AT_NAMED(LOG_ERROR, "WinAutoHandle",
                 systemFailure(tstrings::sformat("%s%p)", call, handle), error));
}

} // namespace

void closeWindow(HWND h) {
    if (h == nullptr) return;
    if (!DestroyWindow(h)) logCloseFailure("DestroyWindow(", h, GetLastError());
}

void closeScreenDC(HDC h) {
    if (h == nullptr) return;
    if (!ReleaseDC(nullptr, h)) logCloseFailure("ReleaseDC(", h, GetLastError());
}

void closeBstr(BSTR s) {
    SysFreeString(s);
}

void clearVariant(VARIANT* v) {
    if (v == nullptr) return;
    const HRESULT hr = VariantClear(v);
    if (FAILED(hr)) logCloseFailure("VariantClear(", v, static_cast<DWORD>(hr));
}

void closeTaskMemory(void* memory) {
    CoTaskMemFree(memory);
}
