#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One of the eleven user-interface languages.
class Locale {
public:
    uint16_t langId() const { return langId_; }
    const std::string& name() const { return name_; }
    // The name resources are filed under ("zh" for zh_CN).
    const std::string& resourceName() const { return altName_.empty() ? name_ : altName_; }
    bool selects(uint16_t id) const;

    static const std::vector<Locale>& all();
    // The locale whose own language id is langId; raises when none is.
    static const Locale& fromLangId(unsigned langId);
    static bool isSupported(unsigned langId);
    static const Locale& english();

    // The user's preferred UI languages, most preferred first.
    static std::vector<uint16_t> preferredLanguages();
    // The first of ids that some locale selects, locales taken in table
    // order; English when none matches.
    static const Locale& bestMatch(const std::vector<uint16_t>& ids);
    static const Locale& defaultLocale() { return bestMatch(preferredLanguages()); }

    // List building of the two system paths, exposed for testing.
    // Hexadecimal language-id texts as the system gives them; each id with a
    // sub-language is followed by its primary id.
    static std::vector<uint16_t> fromPreferredUiLanguageTexts(const std::vector<std::string>& texts);
    static std::vector<uint16_t> fromFallbackIds(const std::vector<uint16_t>& ids);

    Locale(uint16_t langId, std::string name, std::string altName,
           std::vector<uint16_t> selectingIds)
        : langId_(langId), name_(std::move(name)), altName_(std::move(altName)),
          selectingIds_(std::move(selectingIds)) {}

private:
    uint16_t langId_;
    std::string name_;
    std::string altName_;
    std::vector<uint16_t> selectingIds_;
};
