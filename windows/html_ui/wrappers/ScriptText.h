#pragma once

#include <string>

// text (UTF-8) as a single-quoted script string literal that evaluates to
// exactly text: backslash, quotes, CR, LF, U+2028 and U+2029 escaped, other
// control characters as \u00xx. Page calls built from outside data must
// use it, or a folder such as C:\It's could end the string and inject code.
std::string jsString(const std::string& text);

// "<function>(<0 or 1>)".
std::string flagCall(const char* function, bool flag);
