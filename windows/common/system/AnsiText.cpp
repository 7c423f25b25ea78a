#include "AnsiText.h"

#include <windows.h>

std::optional<std::string> exactAnsiText(const std::string& utf8) {
    if (utf8.empty()) return std::string();
    const int wideSize = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                             static_cast<int>(utf8.size()), nullptr, 0);
    if (wideSize <= 0) return std::nullopt;
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        &wide[0], wideSize);
    if (GetACP() == CP_UTF8) return utf8;
    BOOL substituted = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize,
                                         nullptr, 0, nullptr, &substituted);
    if (size <= 0 || substituted) return std::nullopt;
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, &ansi[0], size,
                        nullptr, &substituted);
    return ansi;
}
