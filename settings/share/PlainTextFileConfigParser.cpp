#include "PlainTextFileConfigParser.h"

#include "Config.h"
#include "ConfigBuilder.h"
#include "ParserErrorCounter.h"
#include "SettingsException.h"
#include "tstrings.h"

namespace settings_impl {

namespace {

const char* const kLineEnds = "\r\n";
const char kComment = '#';
const char* const kKeySeparators = "=:";
const char* const kBlanks = " \t";

// The code of one line: STATUS_ACCEPTED or the error.
int scanLine(const std::string& line, const IParserCursor& cursor, size_t first,
             IConfigParserCallback& callback, bool allowKeyWithoutValue) {
    if (line[first] == kComment) {
        return callback.onComment(cursor, line.substr(first)) ? settings::STATUS_ACCEPTED
                                                              : settings::STATUS_INVALID_COMMENT;
    }
    const size_t separator = line.find_first_of(kKeySeparators, first);
    if (separator == std::string::npos) {
        if (!allowKeyWithoutValue) return settings::STATUS_KEY_WITHOUT_VALUE;
        callback.onKeyValue(cursor, tstrings::trimRight(line.substr(first), kBlanks), std::nullopt);
        return settings::STATUS_ACCEPTED;
    }
    const std::string key = tstrings::trimRight(line.substr(first, separator - first), kBlanks);
    if (key.empty()) return settings::STATUS_EMPTY_KEY;
    return callback.onKeyValue(cursor, key, tstrings::trim(line.substr(separator + 1), kBlanks));
}

} // namespace

std::string PlainTextFileConfigParser::Cursor::text() const {
    return "line " + std::to_string(line_ + 1ULL) + "; char " + std::to_string(column_ + 1ULL);
}

PlainTextFileConfigParser::PlainTextFileConfigParser(std::unique_ptr<IBuffer> buffer)
    : buffer_(std::move(buffer)) {}

bool PlainTextFileConfigParser::scan(const std::string& text, IConfigParserCallback& callback,
                                     bool stopOnError, bool allowKeyWithoutValue) {
    bool clean = true;
    size_t start = 0;
    for (unsigned lineIndex = 0;; ++lineIndex) {
        const size_t end = text.find_first_of(kLineEnds, start);
        const std::string line =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const size_t first = line.find_first_not_of(kBlanks);
        if (first != std::string::npos) {
            const Cursor cursor(lineIndex, static_cast<unsigned>(first));
            const int code = scanLine(line, cursor, first, callback, allowKeyWithoutValue);
            if (code != settings::STATUS_ACCEPTED) {
                clean = false;
                callback.onError(cursor, code);
                if (stopOnError) return false;
            }
        }
        if (end == std::string::npos) return clean;
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

std::unique_ptr<Config> PlainTextFileConfigParser::parse() {
    const std::string text = buffer_->read();
    ParserErrorCounter counter(listener_);
    ConfigBuilder builder(validator_, keyMapper_, &counter);
    scan(text, builder, stopOnError_, allowKeyWithoutValue_);
    if (counter.count() != 0 && stopOnError_) return nullptr;
    return builder.release();
}

} // namespace settings_impl
