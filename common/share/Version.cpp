#include "Version.h"

#include <climits>

namespace VersionDetails {

bool tryParseComponent(std::string_view piece, unsigned& value) {
    if (piece.empty()) return false;
    unsigned result = 0;
    for (const char c : piece) {
        if (c < '0' || c > '9') return false;
        const unsigned digit = static_cast<unsigned>(c - '0');
        // Items are signed 32-bit and -1 means "not set": refuse what would wrap.
        if (result > (static_cast<unsigned>(INT_MAX) - digit) / 10) return false;
        result = result * 10 + digit;
    }
    value = result;
    return true;
}

unsigned parseComponent(const std::string& piece) {
    unsigned value = 0;
    if (!tryParseComponent(piece, value)) {
        JP_THROW_NAMED(std::runtime_error("Failed to recognize version component in [" + piece + "]"),
                       "VersionDetails::parseComponent");
    }
    return value;
}

size_t Parser::operator()(const std::string& text, size_t& capacity, int* items) const {
    if (capacity == 0) {
        JP_THROW_NAMED(std::length_error("Destination buffer can't be empty"),
                       "VersionDetails::Parser::operator ()");
    }
    const size_t limit = capacity;
    capacity = 0;
    size_t consumed = 0;
    size_t start = 0;
    while (!text.empty() && capacity < limit) {
        const size_t dot = text.find('.', start);
        const bool lastTaken = dot == std::string::npos || capacity + 1 == limit;
        const std::string piece =
            text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        unsigned value = 0;
        if (!tryParseComponent(piece, value)) break;
        items[capacity++] = static_cast<int>(value);
        // The separating dot belongs to the piece before it, so a failed
        // piece leaves exactly its own text and what follows.
        consumed += piece.size() + (lastTaken ? 0 : 1);
        if (lastTaken) break;
        start = dot + 1;
    }
    return text.size() - consumed;
}

std::string initFunctionName(size_t n, const char* parserName, size_t m) {
    return "VersionDetails::Base<" + std::to_string(n) + ",struct " + parserName + "," +
           std::to_string(m) + ">::init";
}

} // namespace VersionDetails

std::string Version::toString() const {
    std::string result;
    for (size_t i = 0; i < count(); ++i) {
        if (i > 0) result += ".";
        result += std::to_string(items_[i]);
    }
    return result;
}
