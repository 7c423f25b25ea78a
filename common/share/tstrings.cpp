#include "tstrings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <stdexcept>

#include "TeguError.h"

namespace tstrings {

void vformat(std::string* destination, const char* fmt, va_list args) {
    if (!destination) {
        JP_THROW_NAMED(std::invalid_argument("Destination buffer can't be NULL"),
                       "tstrings::format");
    }
    // C99 vsnprintf answers the length it needs; size the buffer from that
    // answer and format again from a fresh copy of the argument list.
    char small[256];
    va_list probe;
    va_copy(probe, args);
    const int needed = std::vsnprintf(small, sizeof(small), fmt, probe);
    va_end(probe);
    if (needed < 0) {
        JP_THROW_NAMED(std::runtime_error("vsnprintf() failed"), "tstrings::format");
    }
    if (static_cast<size_t>(needed) < sizeof(small)) {
        destination->assign(small, static_cast<size_t>(needed));
        return;
    }
    std::string buffer(static_cast<size_t>(needed) + 1, '\0');
    va_list again;
    va_copy(again, args);
    std::vsnprintf(&buffer[0], buffer.size(), fmt, again);
    va_end(again);
    buffer.resize(static_cast<size_t>(needed));
    destination->swap(buffer);
}

void format(std::string* destination, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    try {
        vformat(destination, fmt, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

std::string sformat(const char* fmt, ...) {
    std::string result;
    va_list args;
    va_start(args, fmt);
    try {
        vformat(&result, fmt, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    return result;
}

std::string toLower(const std::string& s) {
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return r;
}

std::string toUpper(const std::string& s) {
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return r;
}

bool equals(const std::string& a, const std::string& b, CompareType ct) {
    if (ct == IGNORE_CASE) {
        return toLower(a) == toLower(b);
    }
    return a == b;
}

bool endsWith(const std::string& s, const std::string& suffix) {
    if (suffix.size() > s.size()) {
        return false;
    }
    return toLower(s.substr(s.size() - suffix.size())) == toLower(suffix);
}

bool startsWith(const std::string& s, const std::string& prefix, CompareType ct) {
    if (prefix.size() > s.size()) {
        return false;
    }
    return equals(s.substr(0, prefix.size()), prefix, ct);
}

std::string fromInt(long long value) {
    return std::to_string(value);
}

void split(const std::string& separator, std::vector<std::string>& out,
           const std::string& text) {
    if (text.empty() || separator.empty()) {
        return;
    }
    size_t start = 0;
    for (;;) {
        const size_t pos = text.find(separator, start);
        if (pos == std::string::npos) {
            out.push_back(text.substr(start));
            return;
        }
        out.push_back(text.substr(start, pos - start));
        start = pos + separator.size();
    }
}

std::string trimRight(const std::string& s, const char* chars) {
    const size_t end = s.find_last_not_of(chars);
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

std::string trimLeft(const std::string& s, const char* chars) {
    const size_t start = s.find_first_not_of(chars);
    return start == std::string::npos ? std::string() : s.substr(start);
}

std::string trim(const std::string& s, const char* chars) {
    return trimLeft(trimRight(s, chars), chars);
}

} // namespace tstrings
