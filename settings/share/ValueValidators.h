#pragma once

#include <string>
#include <vector>

#include "ConfigValidator.h"

namespace settings_impl {

// A value of one type, converted from its text. Only the boolean type
// accepts a missing text (and gives no value).
class TypeValidator : public IConfigValueValidator {
public:
    explicit TypeValidator(ConfigValue::Type type) : type_(type) {}
    std::optional<ConfigValue> validate(const std::optional<std::string>& text) const override;

private:
    ConfigValue::Type type_;
};

// A string naming a folder: an absolute, valid path unless anything is
// accepted.
class DirnameValidator : public IConfigValueValidator {
public:
    explicit DirnameValidator(bool acceptAnything) : acceptAnything_(acceptAnything) {}
    std::optional<ConfigValue> validate(const std::optional<std::string>& text) const override;

private:
    bool acceptAnything_;
};

// One of a list of texts, each standing for a number.
class FixedValueValidator : public IConfigValueValidator {
public:
    enum Flags {
        MATCH_CASE = 1,       // only the identical text matches
        STORE_ENTRY_TEXT = 2, // the value keeps the entry's text, not the one written
    };
    struct Entry {
        std::string text;
        int value;
        unsigned flags;
    };

    // An entry with the text of an earlier one replaces its number and flags.
    void add(const Entry& entry);
    // Later entries are tried first; no match raises InavlidValueError.
    std::optional<ConfigValue> validate(const std::optional<std::string>& text) const override;

private:
    std::vector<Entry> entries_;
};

} // namespace settings_impl
