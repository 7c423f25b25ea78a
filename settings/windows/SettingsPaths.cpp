#include "SettingsPaths.h"

#include <windows.h>
#include <shlobj.h>

#include "SecurityDescriptor.h"
#include "SettingsException.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace settings_impl {

std::string runtimeSettingsPath() {
    // Asked in UTF-16 rather than through SysInfo's code-page text: the
    // library's paths are UTF-8.
    wchar_t folder[MAX_PATH] = {};
    const HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr,
                                        SHGFP_TYPE_CURRENT, folder);
    if (FAILED(hr)) {
        JP_THROW(SysError(JP_API_ADDRESS(SHGetFolderPathW),
                          "SHGetFolderPath(CSIDL_COMMON_APPDATA)", HRESULT_CODE(hr)));
    }
    return tstrings::toUtf8(std::wstring(folder) + L"\\Tolvane\\Calyx\\calyx.settings.cfg");
}

FileName canonicalFileName(const std::string& path) {
    const FileName name(path);
    if (name.isAbsolute()) return name.canonical(std::string());
    wchar_t directory[MAX_PATH + 1] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, directory);
    if (length == 0 || length > MAX_PATH) {
        JP_THROW(SysError(JP_API_ADDRESS(GetCurrentDirectoryW), "GetCurrentDirectory",
                          length == 0 ? GetLastError() : ERROR_BUFFER_OVERFLOW));
    }
    return name.canonical(tstrings::toUtf8(std::wstring(directory, length)));
}

std::wstring widePath(const std::string& path) {
    const std::wstring wide = tstrings::toUtf16(path);
    if (wide.empty() && !path.empty()) {
        JP_THROW_MSG("Cannot convert the path to UTF-16");
    }
    return wide;
}

void createParentDirectories(const FileName& fileName) {
    if (!fileName.isCanonical()) {
        JP_THROW(std::logic_error("canonicalized file name expected"));
    }
    const auto& components = fileName.components();
    // A level made here must not let other users plant files the elevated
    // installer later trusts.
    SecurityDescriptor protectedFolder(SecurityDescriptor::kProtectedFolder);
    std::string prefix;
    for (size_t i = 0; i + 1 < components.size(); ++i) {
        prefix += (i == 0 ? "" : "/") + components[i];
        const std::wstring wide = widePath(prefix);
        if (GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        if (!CreateDirectoryW(wide.c_str(), protectedFolder.attributes()) &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            SETTINGS_THROW(settings::STATUS_PATH_INVALID);
        }
    }
}

} // namespace settings_impl
