#include "PageUrl.h"

#include <windows.h>

#include <vector>

#include "NetUtils.h"
#include "TeguError.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace ui {

namespace {

// The wide name: a narrow one loses characters outside the code page.
std::wstring programPath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            JP_THROW_LAST_ERROR("GetModuleFileName", GetModuleFileNameW);
        }
        if (n < buffer.size()) {
            return std::wstring(buffer.data(), n);
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

std::string resourceUrlBase(const std::wstring& path) {
    return "res://" + NetUtils::escapeForUrl(tstrings::toUtf8(path), "%5C") + "/";
}

std::string pageUrl(const std::string& page) {
    static const std::string base = resourceUrlBase(programPath());
    return base + page;
}

} // namespace ui
