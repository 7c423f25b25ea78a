#pragma once

#include <memory>

#include "ConfigParserInterfaces.h"

namespace settings_impl {

// Turns scanned lines into a configuration: keys through the key mapper,
// values through the validator, errors as located messages to the listener.
class ConfigBuilder : public IConfigParserCallback {
public:
    ConfigBuilder(const ConfigValidator* validator, const IKeyMapper* keyMapper,
                  IParserErrorListener* listener);
    ~ConfigBuilder() override;

    // Comments are accepted and not kept.
    bool onComment(const IParserCursor& cursor, const std::string& text) override;
    // Stores the entry (the last line of a key wins); a rejected key answers
    // 303, a rejected value 304, and nothing is stored then.
    int onKeyValue(const IParserCursor& cursor, const std::string& key,
                   const std::optional<std::string>& value) override;
    // Sends "\"<message>\" at line L; char C" to the listener.
    void onError(const IParserCursor& cursor, int code) override;

    // The parser's text for an error code.
    static const char* errorText(int code);

    std::unique_ptr<Config> release() { return std::move(config_); }

private:
    const ConfigValidator* validator_;
    const IKeyMapper* keyMapper_;
    IParserErrorListener* listener_;
    std::unique_ptr<Config> config_;
};

} // namespace settings_impl
