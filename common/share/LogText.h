#pragma once

#include <cstdio>
#include <string>
#include <type_traits>

// The text of one log record, built with "<<" like a string stream. The
// installer logs strings and numbers only, and a standard stream would pull
// the whole locale machinery (several hundred KB) into the executable.
class LogText {
public:
    LogText& operator<<(const std::string& text) { text_ += text; return *this; }
    LogText& operator<<(const char* text) { text_ += text ? text : "(null)"; return *this; }
    LogText& operator<<(char c) { text_ += c; return *this; }
    LogText& operator<<(bool value) { text_ += value ? "1" : "0"; return *this; }
    LogText& operator<<(const void* pointer) { return printf("%p", pointer); }

    template <typename T, typename = std::enable_if_t<std::is_integral<T>::value>>
    LogText& operator<<(T value) {
        text_ += std::to_string(value);
        return *this;
    }
    LogText& operator<<(double value) { return printf("%g", value); }

    const std::string& str() const { return text_; }

private:
    template <typename T>
    LogText& printf(const char* format, T value) {
        char buffer[64];
        const int length = std::snprintf(buffer, sizeof(buffer), format, value);
        if (length > 0) text_.append(buffer, static_cast<size_t>(length) < sizeof(buffer) ? length : sizeof(buffer) - 1);
        return *this;
    }

    std::string text_;
};
