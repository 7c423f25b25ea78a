#include "ConfigValue.h"

#include "SettingsException.h"
#include "ValueText.h"

namespace settings_impl {

ConfigValue::ConfigValue(Type type, const std::string& text) : type_(type), text_(text) {
    if (!isPlainText(text)) {
        JP_THROW(settings::NotConvertibleError());
    }
}

ConfigValue ConfigValue::fromText(Type type, const std::string& text) {
    ConfigValue value(type, text);
    switch (type) {
    case INTEGER:
        value.int_ = textToInt(text);
        break;
    case BOOLEAN:
        value.bool_ = textToBool(text);
        break;
    case REAL:
        value.real_ = textToReal(text);
        break;
    case RAW_TEXT:
    case STRING:
        break;
    }
    return value;
}

ConfigValue ConfigValue::fixed(int number, const std::string& text) {
    ConfigValue value(INTEGER, text);
    value.int_ = number;
    return value;
}

bool ConfigValue::sameAs(const ConfigValue& other) const {
    if (type_ != other.type_) return false;
    switch (type_) {
    case INTEGER:
        return int_ == other.int_;
    case BOOLEAN:
        return bool_ == other.bool_;
    case REAL:
        return real_ == other.real_;
    case RAW_TEXT:
    case STRING:
        break;
    }
    return text_ == other.text_;
}

} // namespace settings_impl
