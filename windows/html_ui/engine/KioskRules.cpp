#include "KioskRules.h"

#include <windows.h>

#include <cctype>
#include <cstring>

namespace ui {

namespace {

std::string normalized(const std::string& url) {
    std::string text;
    for (size_t i = 0; i < url.size(); ++i) {
        char c = url[i];
        if (c == '%' && i + 2 < url.size() && std::isxdigit(static_cast<unsigned char>(url[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(url[i + 2]))) {
            c = static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
        text += c == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

} // namespace

bool isKioskBlockedKey(unsigned key, bool ctrl, bool alt) {
    if (key >= VK_BROWSER_BACK && key <= VK_BROWSER_HOME) return true;
    // Help, find again, reload, full screen; with Ctrl, a reload past the cache.
    if (key == VK_F1 || key == VK_F3 || key == VK_F5 || key == VK_F11) return true;
    // Back, forward, home and the address bar.
    if (alt && (key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == 'D')) return true;
    // New window or tab, open, address, print, find, reload, save, search,
    // history, favourites, downloads, close.
    return ctrl && !alt && key < 0x80 && std::strchr("NOLPFRSEHIJDKTW", static_cast<int>(key)) && key != 0;
}

bool isOwnPage(const std::string& url, const std::string& base) {
    const std::string own = normalized(base);
    const std::string page = normalized(url);
    return !own.empty() && page.compare(0, own.size(), own) == 0 && page.find("/../") == std::string::npos;
}

} // namespace ui
