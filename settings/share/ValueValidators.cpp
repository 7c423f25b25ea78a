#include "ValueValidators.h"

#include "FileName.h"
#include "TeguError.h"
#include "tstrings.h"

namespace settings_impl {

std::optional<ConfigValue> TypeValidator::validate(const std::optional<std::string>& text) const {
    if (!text) {
        if (type_ == ConfigValue::BOOLEAN) return std::nullopt;
        JP_THROW(ConfigValidator::InavlidValueError());
    }
    return ConfigValue::fromText(type_, *text);
}

std::optional<ConfigValue> DirnameValidator::validate(const std::optional<std::string>& text) const {
    if (!text) JP_THROW(ConfigValidator::InavlidValueError());
    if (!acceptAnything_ && !FileName(*text).isAbsolute()) {
        JP_THROW(ConfigValidator::InavlidValueError());
    }
    return ConfigValue::fromText(ConfigValue::STRING, *text);
}

void FixedValueValidator::add(const Entry& entry) {
    for (Entry& existing : entries_) {
        if (existing.text == entry.text) {
            existing.value = entry.value;
            existing.flags = entry.flags;
            return;
        }
    }
    entries_.push_back(entry);
}

std::optional<ConfigValue> FixedValueValidator::validate(const std::optional<std::string>& text) const {
    if (text) {
        for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
            const bool matches = (it->flags & MATCH_CASE)
                                     ? it->text == *text
                                     : tstrings::equals(it->text, *text, tstrings::IGNORE_CASE);
            if (matches) {
                return ConfigValue::fixed(it->value,
                                          (it->flags & STORE_ENTRY_TEXT) ? it->text : *text);
            }
        }
    }
    JP_THROW(ConfigValidator::InavlidValueError());
}

} // namespace settings_impl
