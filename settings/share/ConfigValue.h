#pragma once

#include <string>

namespace settings_impl {

// One typed setting. Every value keeps the text it was made from, so a
// saved file shows each value as it was written.
class ConfigValue {
public:
    enum Type {
        RAW_TEXT = 100,  // no validator applied
        STRING = 101,
        INTEGER = 102,
        BOOLEAN = 103,
        REAL = 104,
    };

    // Converts text by the rule of type; raises settings::NotConvertibleError
    // when the text is not plain text or does not convert.
    static ConfigValue fromText(Type type, const std::string& text);
    // An integer whose text is given rather than derived (fixed-value sets).
    static ConfigValue fixed(int number, const std::string& text);

    Type type() const { return type_; }
    const std::string& text() const { return text_; }
    int intValue() const { return int_; }
    bool boolValue() const { return bool_; }
    double realValue() const { return real_; }

    // Same type and same payload: the text for raw text and strings.
    bool sameAs(const ConfigValue& other) const;

private:
    ConfigValue(Type type, const std::string& text);

    Type type_;
    std::string text_;
    int int_ = 0;
    bool bool_ = false;
    double real_ = 0;
};

} // namespace settings_impl
