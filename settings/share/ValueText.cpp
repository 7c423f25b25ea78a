#include "ValueText.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include "SettingsException.h"
#include "tstrings.h"

namespace settings_impl {

namespace {

const char* const kNumberBlanks = " \t\n\v";

// Length of the sequence a lead byte starts, 0 when it cannot lead one.
int sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    if ((lead & 0xFC) == 0xF8) return 5;
    if ((lead & 0xFE) == 0xFC) return 6;
    return 0;
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 99;
}

[[noreturn]] void notConvertible() {
    JP_THROW(settings::NotConvertibleError());
}

std::string skipBlanks(const std::string& text) {
    const size_t start = text.find_first_not_of(kNumberBlanks);
    return start == std::string::npos ? std::string() : text.substr(start);
}

} // namespace

bool isPlainText(const std::string& text) {
    const size_t size = text.size();
    for (size_t i = 0; i < size;) {
        const int length = sequenceLength(static_cast<unsigned char>(text[i]));
        if (length == 0 || size - i < static_cast<size_t>(length)) return false;
        for (int k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += static_cast<size_t>(length);
    }
    return true;
}

int textToInt(const std::string& text) {
    const std::string s = tstrings::toLower(skipBlanks(text));
    const bool negative = !s.empty() && s[0] == '-';
    const std::string body = s.substr(negative || (!s.empty() && s[0] == '+') ? 1 : 0);
    int base = 10;
    size_t pos = 0;
    if (s.compare(0, 2, "0x") == 0 || s.compare(0, 3, "-0x") == 0) {
        base = 16;
        // "0x" with no digit after it reads as the number 0, as strtol does.
        pos = digitValue(body.size() > 2 ? body[2] : 'z') < 16 ? 2 : 0;
    } else if (s.compare(0, 1, "0") == 0 || s.compare(0, 2, "-0") == 0) {
        base = 8;
    }
    long long value = 0;
    const size_t firstDigit = pos;
    for (; pos < body.size() && digitValue(body[pos]) < base; ++pos) {
        value = value * base + digitValue(body[pos]);
        if (value > static_cast<long long>(INT_MAX) + 1) notConvertible();
    }
    if (pos == firstDigit) notConvertible();
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) notConvertible();
    return static_cast<int>(value);
}

double textToReal(const std::string& text) {
    const std::string s = skipBlanks(text);
    // Only the decimal form: strtod alone would also take "inf", "nan" and
    // hexadecimal numbers.
    size_t end = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
    size_t digits = 0;
    for (; end < s.size() && s[end] >= '0' && s[end] <= '9'; ++end) ++digits;
    if (end < s.size() && s[end] == '.') {
        for (++end; end < s.size() && s[end] >= '0' && s[end] <= '9'; ++end) ++digits;
    }
    if (digits == 0) notConvertible();
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        size_t exponent = end + 1;
        if (exponent < s.size() && (s[exponent] == '-' || s[exponent] == '+')) ++exponent;
        if (exponent < s.size() && s[exponent] >= '0' && s[exponent] <= '9') {
            end = exponent;
            while (end < s.size() && s[end] >= '0' && s[end] <= '9') ++end;
        }
    }
    const double value = std::strtod(s.substr(0, end).c_str(), nullptr);
    if (!std::isfinite(value)) notConvertible();
    return value;
}

bool textToBool(const std::string& text) {
    const std::string s = tstrings::toLower(text);
    if (s == "yes" || s == "true") return true;
    if (s == "no" || s == "false") return false;
    return textToInt(text) != 0;
}

} // namespace settings_impl
