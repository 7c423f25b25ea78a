#pragma once

#include <memory>
#include <optional>
#include <string>

namespace settings_impl {

class Config;
class ConfigValidator;
class IKeyMapper;

// Where the scanner is: 0-based line and column of the line's first
// non-blank character.
class IParserCursor {
public:
    virtual ~IParserCursor() = default;
    virtual unsigned lineIndex() const = 0;
    virtual unsigned columnIndex() const = 0;
    // "line <line + 1>; char <column + 1>"
    virtual std::string text() const = 0;
};

// What the line scanner reports, line by line.
class IConfigParserCallback {
public:
    virtual ~IConfigParserCallback() = default;
    // False rejects the comment (the line becomes an error).
    virtual bool onComment(const IParserCursor& cursor, const std::string& text) = 0;
    // Answers settings::STATUS_ACCEPTED or the error code for the line.
    virtual int onKeyValue(const IParserCursor& cursor, const std::string& key,
                           const std::optional<std::string>& value) = 0;
    virtual void onError(const IParserCursor& cursor, int code) = 0;
};

// Receives one located message per bad line; may end the parse by raising.
class IParserErrorListener {
public:
    virtual ~IParserErrorListener() = default;
    virtual void onError(const IParserCursor& cursor, const std::string& message) = 0;
};

// A parser over one text source. It does not own the validator, the key
// mapper or the listener.
class IConfigParser {
public:
    virtual ~IConfigParser() = default;
    virtual void setValidator(const ConfigValidator* validator) = 0;
    virtual void setKeyMapper(const IKeyMapper* keyMapper) = 0;
    virtual void setErrorListener(IParserErrorListener* listener) = 0;
    virtual void setStopOnError(bool stop) = 0;
    virtual void setAllowKeyWithoutValue(bool allow) = 0;
    // The new configuration, or none when an error stopped the parse.
    virtual std::unique_ptr<Config> parse() = 0;
};

} // namespace settings_impl
