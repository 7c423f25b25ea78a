#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

#include "MessageText.h"
#include "TeguError.h"

// The system's text for a Win32 code (or a module's own message table),
// with control characters blanked and trailing blanks and periods removed;
// "No description available" when there is none.
std::string describeSystemError(DWORD code, HMODULE module = nullptr);

// "system error <code> (<description>)"
std::string systemErrorText(DWORD code, HMODULE module = nullptr);

// "<operation> failed with system error <code> (<description>)"
std::string systemFailure(const std::string& operation, DWORD code);

// A failed system call: context, then "<kind> [<code>](system error ...)".
class SysError : public std::runtime_error {
public:
    SysError(const void* failedApi, const std::string& context, DWORD code,
             const char* kind = "System error");
    SysError(const std::string& context, DWORD code)
        : SysError(nullptr, context, code) {}
    DWORD code() const { return code_; }

private:
    DWORD code_;
};

// A failed COM call: context + ": COM error 0x%08X (<description>)".
class ComError : public std::runtime_error {
public:
    ComError(HRESULT hr, const std::string& context);
    HRESULT getHResult() const { return hr_; }

private:
    HRESULT hr_;
};

// The address of a system function, for SysError's module lookup.
#define JP_API_ADDRESS(fn) reinterpret_cast<const void*>(&(fn))

// One raise helper per calling convention; the located message names the
// failing expression's context.
// The error code is taken first: building the context text may change it.
#define JP_THROW_LAST_ERROR(context, api)                                         \
    do {                                                                          \
        const DWORD cxLastError_ = GetLastError();                                \
        JP_THROW(SysError(JP_API_ADDRESS(api), (context), cxLastError_));         \
    } while (0)

#define JP_CHECK_BOOL(expr, context, api)                      \
    do {                                                       \
        if (!(expr)) {                                         \
            JP_THROW_LAST_ERROR(context, api);                 \
        }                                                      \
    } while (0)

#define JP_CHECK_LSTATUS(expr, context, api)                                      \
    do {                                                                          \
        const LONG cxStatus_ = (expr);                                            \
        if (cxStatus_ != ERROR_SUCCESS) {                                         \
            JP_THROW(SysError(JP_API_ADDRESS(api), (context),                     \
                              static_cast<DWORD>(cxStatus_)));                    \
        }                                                                         \
    } while (0)

#define JP_CHECK_HRESULT(expr, context)                                           \
    do {                                                                          \
        const HRESULT cxHr_ = (expr);                                             \
        if (FAILED(cxHr_)) {                                                      \
            JP_THROW(ComError(cxHr_, (context)));                                 \
        }                                                                         \
    } while (0)
