#include "Dll.h"

#include <vector>

#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

std::wstring systemFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    UINT n = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (n >= buffer.size()) {
        buffer.resize(n + 1);
        n = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    return std::wstring(buffer.data(), n);
}

HMODULE loadLibrary(const std::wstring& name) {
    const std::wstring path = systemFolder() + L"\\" + name;
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module) {
        JP_THROW_NAMED(SysError(JP_API_ADDRESS(LoadLibraryW),
                                "LoadLibraryW(" + tstrings::toUtf8(path) + ") failed",
                                GetLastError()),
                       "loadLibrary");
    }
    return module;
}

} // namespace

Dll::Dll(const std::wstring& name) : name_(name), module_(loadLibrary(name)) {}

Dll::Dll(const Dll& other) : name_(other.name_) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(0, other.name_.c_str(), &module)) {
        JP_THROW_NAMED(SysError(JP_API_ADDRESS(GetModuleHandleExW),
                                "GetModuleHandleExW(" + tstrings::toUtf8(other.name_) + ") failed",
                                GetLastError()),
                       "Dll::Dll");
    }
    module_.reset(module);
}

FARPROC Dll::getFunction(const std::string& functionName, bool required) const {
    FARPROC fn = GetProcAddress(module_.get(), functionName.c_str());
    if (!fn && required) {
        JP_THROW_LAST_ERROR("GetProcAddress(" + functionName + ") failed", GetProcAddress);
    }
    return fn;
}
