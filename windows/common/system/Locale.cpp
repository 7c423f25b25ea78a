#include "Locale.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "Dll.h"
#include "Log.h"
#include "WinErrorHandling.h"

namespace {

typedef BOOL(WINAPI GetThreadPreferredUILanguagesFn)(DWORD, PULONG, PZZWSTR, PULONG);

void appendWithPrimary(std::vector<uint16_t>& out, uint16_t id) {
    out.push_back(id);
    if (SUBLANGID(id) != 0) {
        out.push_back(PRIMARYLANGID(id));
    }
}

std::vector<std::string> threadPreferredUiLanguageTexts(GetThreadPreferredUILanguagesFn* fn) {
    const DWORD flags = MUI_LANGUAGE_ID | MUI_MERGE_USER_FALLBACK | MUI_MERGE_SYSTEM_FALLBACK;
    ULONG count = 0;
    ULONG size = 0;
    if (!fn(flags, &count, nullptr, &size)) {
        JP_THROW(SysError("GetThreadPreferredUILanguages (detect size) failed", GetLastError()));
    }
    std::vector<wchar_t> buffer(size + 2, L'\0');
    if (!fn(flags, &count, buffer.data(), &size)) {
        JP_THROW(SysError("GetThreadPreferredUILanguages (get values) failed", GetLastError()));
    }
    std::vector<std::string> texts;
    for (const wchar_t* p = buffer.data(); *p; p += wcslen(p) + 1) {
        texts.emplace_back(p, p + wcslen(p));
    }
    return texts;
}

} // namespace

bool Locale::selects(uint16_t id) const {
    return std::find(selectingIds_.begin(), selectingIds_.end(), id) != selectingIds_.end();
}

const std::vector<Locale>& Locale::all() {
    static const std::vector<Locale> table = {
        Locale(2052, "zh_CN", "zh", {2052, 4100, 4}),
        Locale(1028, "zh_TW", "", {1028, 3076, 5124, 31748}),
        Locale(1031, "de", "", {7}),
        Locale(1033, "en", "", {9}),
        Locale(1034, "es", "", {10}),
        Locale(1036, "fr", "", {12}),
        Locale(1040, "it", "", {16}),
        Locale(1041, "ja", "", {17}),
        Locale(1042, "ko", "", {18}),
        Locale(1046, "pt_BR", "", {1046}),
        Locale(1053, "sv", "", {29}),
    };
    return table;
}

const Locale& Locale::english() { return fromLangId(1033); }

const Locale& Locale::fromLangId(unsigned langId) {
    for (const Locale& locale : all()) {
        if (locale.langId_ == langId) {
            return locale;
        }
    }
    JP_THROW_NAMED(std::runtime_error("unsupported locale langId: " + std::to_string(langId)),
                   "Locale::fromLangId");
}

bool Locale::isSupported(unsigned langId) {
    for (const Locale& locale : all()) {
        if (langId <= 0xFFFF && locale.selects(static_cast<uint16_t>(langId))) {
            return true;
        }
    }
    return false;
}

const Locale& Locale::bestMatch(const std::vector<uint16_t>& ids) {
    for (uint16_t id : ids) {
        for (const Locale& locale : all()) {
            if (locale.selects(id)) {
                return locale;
            }
        }
    }
    return english();
}

std::vector<uint16_t> Locale::fromPreferredUiLanguageTexts(const std::vector<std::string>& texts) {
    std::vector<uint16_t> ids;
    for (const std::string& text : texts) {
        char* end = nullptr;
        const unsigned long value = std::strtoul(text.c_str(), &end, 16);
        if (text.empty() || *end != '\0' || value > 0xFFFF) {
            JP_THROW_MSG("Cannot get langID: " + text);
        }
        // German or Japanese Windows report only 0407 / 0411; the locales are
        // selected by primary ids, so add them as the fallback path does.
        appendWithPrimary(ids, static_cast<uint16_t>(value));
    }
    return ids;
}

std::vector<uint16_t> Locale::fromFallbackIds(const std::vector<uint16_t>& in) {
    std::vector<uint16_t> ids;
    for (uint16_t id : in) {
        appendWithPrimary(ids, id);
    }
    return ids;
}

std::vector<uint16_t> Locale::preferredLanguages() {
    DllFunction<GetThreadPreferredUILanguagesFn> fn(Dll(L"kernel32.dll"),
                                                    "GetThreadPreferredUILanguages");
    if (fn.available()) {
        LOG_TRACE("PreferredUILanguages: Vista+");
        return fromPreferredUiLanguageTexts(
            threadPreferredUiLanguageTexts(static_cast<GetThreadPreferredUILanguagesFn*>(fn)));
    }
    LOG_TRACE("PreferredUILanguages: XP fallback");
    return fromFallbackIds({LANGIDFROMLCID(GetThreadLocale()), GetUserDefaultUILanguage(),
                            GetSystemDefaultUILanguage(), 1033});
}
