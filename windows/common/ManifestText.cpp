#include "ManifestText.h"

#include <optional>

#include "TeguError.h"
#include "tstrings.h"

namespace {

const char* const kBlanks = " \t";

[[noreturn]] void rejectLine(const char* problem, size_t line, size_t column) {
    JP_THROW_NAMED(std::runtime_error(std::string("\"") + problem + "\" at line " +
                                      std::to_string(line + 1) + "; char " +
                                      std::to_string(column + 1)),
                   "manifestValue");
}

// The value of key on this line, none for another key or no key at all.
std::optional<std::string> valueOnLine(const std::string& line, size_t index,
                                       const std::string& key) {
    const size_t start = line.find_first_not_of(kBlanks);
    if (start == std::string::npos || line[start] == '#') return std::nullopt;
    const size_t separator = line.find_first_of("=:", start);
    if (separator == std::string::npos) rejectLine("Key without value", index, start);
    const std::string name = tstrings::trimRight(line.substr(start, separator - start), kBlanks);
    if (name.empty()) rejectLine("Empty key", index, start);
    if (name != key) return std::nullopt;
    return tstrings::trim(line.substr(separator + 1), kBlanks);
}

} // namespace

std::string manifestValue(const std::string& text, const std::string& key) {
    std::optional<std::string> value;
    size_t index = 0;
    size_t pos = 0;
    for (;;) {
        const size_t end = text.find_first_of("\r\n", pos);
        const std::string line = text.substr(pos, end == std::string::npos ? end : end - pos);
        if (auto found = valueOnLine(line, index, key)) value = found;
        if (end == std::string::npos) break;
        pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        ++index;
    }
    if (!value) JP_THROW_NAMED(std::runtime_error("No " + key + " key"), "manifestValue");
    return *value;
}
