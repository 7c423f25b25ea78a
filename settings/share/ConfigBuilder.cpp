#include "ConfigBuilder.h"

#include "Config.h"
#include "ConfigValidator.h"
#include "KeyMappers.h"
#include "SettingsException.h"

namespace settings_impl {

ConfigBuilder::ConfigBuilder(const ConfigValidator* validator, const IKeyMapper* keyMapper,
                             IParserErrorListener* listener)
    : validator_(validator), keyMapper_(keyMapper), listener_(listener),
      config_(std::make_unique<Config>()) {}

ConfigBuilder::~ConfigBuilder() = default;

bool ConfigBuilder::onComment(const IParserCursor&, const std::string&) {
    return true;
}

int ConfigBuilder::onKeyValue(const IParserCursor&, const std::string& key,
                              const std::optional<std::string>& value) {
    const std::string mapped = keyMapper_ ? keyMapper_->map(key).key : key;
    if (!value) {
        // A key written alone never reaches the validator.
        config_->set(mapped, std::nullopt);
        return settings::STATUS_ACCEPTED;
    }
    try {
        config_->set(mapped, validator_ ? validator_->validate(mapped, value)
                                        : ConfigValue::fromText(ConfigValue::RAW_TEXT, *value));
    } catch (const ConfigValidator::InavlidKeyError&) {
        return settings::STATUS_INVALID_KEY;
    } catch (const ConfigValidator::InavlidValueError&) {
        return settings::STATUS_INVALID_VALUE;
    } catch (const settings::Exception&) {
        return settings::STATUS_INVALID_VALUE;
    }
    return settings::STATUS_ACCEPTED;
}

const char* ConfigBuilder::errorText(int code) {
    switch (code) {
    case settings::STATUS_KEY_WITHOUT_VALUE:
        return "Key without value";
    case settings::STATUS_EMPTY_KEY:
        return "Empty key";
    case settings::STATUS_INVALID_KEY:
        return "Invalid key";
    case settings::STATUS_INVALID_VALUE:
        return "Invalid value";
    case settings::STATUS_INVALID_COMMENT:
        return "Invalid comment";
    default:
        return "Unknown error";
    }
}

void ConfigBuilder::onError(const IParserCursor& cursor, int code) {
    if (listener_) {
        listener_->onError(cursor, std::string("\"") + errorText(code) + "\" at " + cursor.text());
    }
}

} // namespace settings_impl
