#include "ConfigValidator.h"

#include "TeguError.h"

namespace settings_impl {

std::optional<ConfigValue> ConfigValidator::validate(const std::string& key,
                                                     const std::optional<std::string>& text) const {
    const auto it = validators_.find(key);
    if (it != validators_.end()) return it->second->validate(text);
    if (!allowUnlistedKeys_) JP_THROW(InavlidKeyError());
    if (!text) return std::nullopt;
    return ConfigValue::fromText(ConfigValue::RAW_TEXT, *text);
}

} // namespace settings_impl
