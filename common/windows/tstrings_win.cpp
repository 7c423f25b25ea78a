#include "tstrings.h"

#include <windows.h>

#include "TeguError.h"

namespace tstrings {

std::string toUtf8(const std::wstring& s) {
    if (s.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()),
                                         nullptr, 0, nullptr, nullptr);
    if (size == 0) return std::string();
    std::string result(static_cast<size_t>(size), '\0');
    const int written = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()),
                                            &result[0], size, nullptr, nullptr);
    if (written != size) {
        JP_THROW_NAMED(std::runtime_error("Unexpected reply from WideCharToMultiByte()"),
                       "tstrings::toUtf8");
    }
    return result;
}

std::wstring toUtf16(const std::string& s) {
    if (s.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(),
                                         static_cast<int>(s.size()), nullptr, 0);
    if (size == 0) return std::wstring();
    std::wstring result(static_cast<size_t>(size), L'\0');
    const int written = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(),
                                            static_cast<int>(s.size()), &result[0], size);
    if (written != size) {
        JP_THROW_NAMED(std::runtime_error("Unexpected reply from MultiByteToWideChar()"),
                       "tstrings::toUtf16");
    }
    return result;
}

std::string toACP(const std::wstring& s) {
    if (s.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()),
                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string result(static_cast<size_t>(size), '\0');
    const int written = WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()),
                                            &result[0], size, nullptr, nullptr);
    result.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return result;
}

std::wstring fromACP(const std::string& s) {
    if (s.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()),
                                         nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring result(static_cast<size_t>(size), L'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()),
                                            &result[0], size);
    result.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return result;
}

} // namespace tstrings
