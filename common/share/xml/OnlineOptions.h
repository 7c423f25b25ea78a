#pragma once

#include <string>

// What the vendor's online options document says for one locale.
struct OnlineOptions {
    std::string offlineOptions;  // at most 2047 characters
    std::string postStatusUrl;   // at most 255 characters; empty: none
    std::string countryLookupUrl;  // at most 255 characters
    std::string packageUrl;      // at most 259 characters

    bool hasPostStatus() const { return !postStatusUrl.empty(); }

    // Reads the document text for a locale code ("ja", "zh_CN"): the
    // "information" elements of version "1.0" for that locale or "en", in
    // order, each overriding the one before, until the exact locale. A value
    // too long for its field is left out whole, never cut. Raises on a
    // malformed document or another root element than "calyx-update".
    static OnlineOptions fromDocument(const std::string& text, const std::string& locale);
};
