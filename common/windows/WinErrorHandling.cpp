#include "WinErrorHandling.h"

#include <oleauto.h>

#include "Log.h"
#include "tstrings.h"

namespace {

std::string makeMessage(const void* failedApi, const std::string& context, DWORD code,
                        const char* kind) {
    std::string detail = tstrings::sformat("%s [%lu]", kind ? kind : "Some error",
                                           static_cast<unsigned long>(code));
    HMODULE module = nullptr;
    bool describe = true;
    if (failedApi) {
        if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                    GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                static_cast<LPCSTR>(failedApi), &module)) {
            describe = false;
            LOG_AT_NAMED(LOG_WARNING, "`anonymous-namespace'::makeMessage",
                         "GetModuleHandleEx() failed for " << failedApi << " address.");
        }
    }
    if (describe) {
        detail += "(" + systemErrorText(code, module) + ")";
    }
    return joinMessage(context, detail);
}

} // namespace

std::string describeSystemError(DWORD code, HMODULE module) {
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                  FORMAT_MESSAGE_FROM_SYSTEM;
    if (module) {
        flags |= FORMAT_MESSAGE_FROM_HMODULE;
    }
    LPWSTR buffer = nullptr;
    const DWORD length = FormatMessageW(flags, module, code, 0,
                                        reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    if (length == 0 || !buffer) {
        if (buffer) LocalFree(buffer);
        return "No description available";
    }
    std::wstring text(buffer, length);
    LocalFree(buffer);
    for (wchar_t& c : text) {
        if (c < 32) c = L' ';
    }
    while (text.size() > 1 && (text.back() <= 32 || text.back() == L'.')) {
        text.pop_back();
    }
    return tstrings::toUtf8(text);
}

std::string systemErrorText(DWORD code, HMODULE module) {
    return tstrings::sformat("system error %lu (%s)", static_cast<unsigned long>(code),
                             describeSystemError(code, module).c_str());
}

std::string systemFailure(const std::string& operation, DWORD code) {
    return operation + " failed with " + systemErrorText(code);
}

SysError::SysError(const void* failedApi, const std::string& context, DWORD code,
                   const char* kind)
    : std::runtime_error(makeMessage(failedApi, context, code, kind)), code_(code) {}

namespace {

std::string comMessage(HRESULT hr, const std::string& context) {
    const DWORD described = HRESULT_FACILITY(hr) == FACILITY_WIN32
                                ? static_cast<DWORD>(HRESULT_CODE(hr))
                                : static_cast<DWORD>(hr);
    std::string message = context + ": " +
                          tstrings::sformat("COM error 0x%08X (%s)", static_cast<unsigned>(hr),
                                            describeSystemError(described).c_str());
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info) {
        BSTR description = nullptr;
        if (SUCCEEDED(info->GetDescription(&description)) && description) {
            const std::wstring text(description, SysStringLen(description));
            if (!text.empty()) {
                message += " - " + tstrings::toUtf8(text);
            }
            SysFreeString(description);
        }
        info->Release();
    }
    return message;
}

} // namespace

ComError::ComError(HRESULT hr, const std::string& context)
    : std::runtime_error(comMessage(hr, context)), hr_(hr) {}
