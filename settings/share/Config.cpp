#include "Config.h"

#include "SettingsException.h"
#include "ValueText.h"

namespace settings_impl {

const std::optional<ConfigValue>& Config::entry(const std::string& key) const {
    const auto it = entries_.find(key);
    if (it == entries_.end()) {
        JP_THROW(settings::NoSuchKeyError());
    }
    return it->second;
}

const ConfigValue& Config::value(const std::string& key) const {
    const std::optional<ConfigValue>& found = entry(key);
    if (!found) {
        JP_THROW(settings::NoValueError());
    }
    return *found;
}

int Config::getType(const std::string& key) const {
    return value(key).type();
}

bool Config::hasValue(const std::string& key) const {
    return entry(key).has_value();
}

const std::string& Config::getString(const std::string& key) const {
    return value(key).text();
}

int Config::getInt(const std::string& key) const {
    const ConfigValue& v = value(key);
    if (v.type() == ConfigValue::INTEGER) return v.intValue();
    if (v.type() == ConfigValue::RAW_TEXT) return textToInt(v.text());
    JP_THROW(settings::NoValueError());
}

double Config::getReal(const std::string& key) const {
    const ConfigValue& v = value(key);
    if (v.type() == ConfigValue::REAL) return v.realValue();
    if (v.type() == ConfigValue::RAW_TEXT) return textToReal(v.text());
    JP_THROW(settings::NoValueError());
}

bool Config::getBool(const std::string& key) const {
    const ConfigValue& v = value(key);
    if (v.type() == ConfigValue::BOOLEAN) return v.boolValue();
    if (v.type() == ConfigValue::RAW_TEXT) return textToBool(v.text());
    JP_THROW(settings::NoValueError());
}

std::string Config::copyText(const std::string& key) const {
    return value(key).text();
}

std::vector<std::string> Config::keys() const {
    std::vector<std::string> result;
    result.reserve(entries_.size());
    for (const auto& e : entries_) result.push_back(e.first);
    return result;
}

void Config::set(const std::string& key, const std::optional<ConfigValue>& value) {
    entries_[key] = value;
}

} // namespace settings_impl
