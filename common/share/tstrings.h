#pragma once

#include <cstdarg>
#include <string>
#include <vector>

namespace tstrings {

// printf-style formatting into *destination, which grows to fit.
// Raises std::invalid_argument when destination is null.
void format(std::string* destination, const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
void vformat(std::string* destination, const char* fmt, va_list args);

// The same, returning the text.
std::string sformat(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

enum CompareType { CASE_SENSITIVE, IGNORE_CASE };

bool equals(const std::string& a, const std::string& b, CompareType ct = CASE_SENSITIVE);
bool endsWith(const std::string& s, const std::string& suffix);  // ignores case
bool startsWith(const std::string& s, const std::string& prefix,
                CompareType ct = CASE_SENSITIVE);
std::string toLower(const std::string& s);
std::string toUpper(const std::string& s);
std::string fromInt(long long value);

// Appends every piece between separators (empty pieces included), then the
// remainder. An empty text or separator appends nothing.
void split(const std::string& separator, std::vector<std::string>& out,
           const std::string& text);

std::string trim(const std::string& s, const char* chars = " \t\r\n");
std::string trimRight(const std::string& s, const char* chars = " \t\r\n");
std::string trimLeft(const std::string& s, const char* chars = " \t\r\n");

// Wide/narrow conversions over the system code pages (Windows builds only).
std::string toUtf8(const std::wstring& s);
std::wstring toUtf16(const std::string& s);
std::string toACP(const std::wstring& s);
std::wstring fromACP(const std::string& s);

} // namespace tstrings
