#include "SettingsContext.h"

#include "ConfigOperations.h"
#include "FileBuffer.h"
#include "Log.h"
#include "PlainTextEntrySerializer.h"
#include "PlainTextFileConfigParser.h"
#include "SettingsException.h"
#include "SettingsFileWriter.h"
#include "SettingsPaths.h"
#include "StringBuffer.h"

namespace settings_impl {

Context::Context(std::string defaultPath)
    : defaultPath_(std::move(defaultPath)), config_(std::make_unique<Config>()) {}

const std::string& Context::defaultPath() const {
    if (defaultPath_.empty()) SETTINGS_THROW(settings::STATUS_INTERNAL_ERROR);
    return defaultPath_;
}

void Context::loadFile(const std::string& path, const ConfigValidator* validator,
                       const IKeyMapper* keyMapper, bool stopOnError, bool allowKeyWithoutValue) {
    errorLines_.clear();
    if (path.empty()) SETTINGS_THROW(settings::STATUS_NULL_ARGUMENT);
    PlainTextFileConfigParser parser(std::make_unique<FileBuffer>(canonicalFileName(path)));
    load(parser, validator, keyMapper, stopOnError, allowKeyWithoutValue);
}

void Context::loadString(const std::string& text, const ConfigValidator* validator,
                         const IKeyMapper* keyMapper, bool stopOnError,
                         bool allowKeyWithoutValue) {
    errorLines_.clear();
    PlainTextFileConfigParser parser(std::make_unique<StringBuffer>(text));
    load(parser, validator, keyMapper, stopOnError, allowKeyWithoutValue);
}

void Context::load(IConfigParser& parser, const ConfigValidator* validator,
                   const IKeyMapper* keyMapper, bool stopOnError, bool allowKeyWithoutValue) {
    parser.setValidator(validator);
    parser.setKeyMapper(keyMapper);
    parser.setErrorListener(this);
    parser.setStopOnError(stopOnError);
    parser.setAllowKeyWithoutValue(allowKeyWithoutValue);
    const std::unique_ptr<Config> parsed = parser.parse();
    if (!parsed) SETTINGS_THROW(settings::STATUS_MALFORMED);
    config_ = mergeConfigs(*config_, *parsed);
}

void Context::merge(const Context& other) {
    config_ = mergeConfigs(*config_, *other.config_);
}

void Context::removeKey(const std::string& key) {
    config_ = withoutKey(*config_, key);
}

void Context::saveFile(const std::string& path) const {
    if (path.empty()) SETTINGS_THROW(settings::STATUS_NULL_ARGUMENT);
    std::string text = PlainTextEntrySerializer::serialize(*config_);
    if (text.empty()) text = " ";
    SettingsFileWriter().write(canonicalFileName(path), text);
}

void Context::onError(const IParserCursor& cursor, const std::string& message) {
    errorLines_.push_back(cursor.lineIndex());
    LOG_ERROR("Error reading config file: " << message);
    SETTINGS_THROW(settings::STATUS_MALFORMED);
}

} // namespace settings_impl
