#pragma once

#include <memory>
#include <string>

#include "ConfigParserInterfaces.h"

namespace settings_impl {

// Parses lines of key, '=' or ':', value; '#' as the first non-blank
// character starts a comment. Lines end with CR LF, CR or LF.
class PlainTextFileConfigParser : public IConfigParser {
public:
    // Source of the whole text.
    class IBuffer {
    public:
        virtual ~IBuffer() = default;
        virtual std::string read() const = 0;
    };

    class Cursor : public IParserCursor {
    public:
        Cursor(unsigned line, unsigned column) : line_(line), column_(column) {}
        unsigned lineIndex() const override { return line_; }
        unsigned columnIndex() const override { return column_; }
        std::string text() const override;

    private:
        unsigned line_;
        unsigned column_;
    };

    explicit PlainTextFileConfigParser(std::unique_ptr<IBuffer> buffer);

    void setValidator(const ConfigValidator* validator) override { validator_ = validator; }
    void setKeyMapper(const IKeyMapper* keyMapper) override { keyMapper_ = keyMapper; }
    void setErrorListener(IParserErrorListener* listener) override { listener_ = listener; }
    void setStopOnError(bool stop) override { stopOnError_ = stop; }
    void setAllowKeyWithoutValue(bool allow) override { allowKeyWithoutValue_ = allow; }
    // Raises settings::Exception 304, 305, 307, 314 or 315 when the source
    // cannot be read whole as plain text.
    std::unique_ptr<Config> parse() override;

    // The line scanner alone: reports every line of text to callback.
    // Returns false when a line was an error.
    static bool scan(const std::string& text, IConfigParserCallback& callback, bool stopOnError,
                     bool allowKeyWithoutValue);

private:
    std::unique_ptr<IBuffer> buffer_;
    const ConfigValidator* validator_ = nullptr;
    const IKeyMapper* keyMapper_ = nullptr;
    IParserErrorListener* listener_ = nullptr;
    bool stopOnError_ = true;
    bool allowKeyWithoutValue_ = false;
};

} // namespace settings_impl
