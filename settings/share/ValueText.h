#pragma once

#include <string>

// The text rules every settings value follows.
namespace settings_impl {

// Well-formed UTF-8 in its original definition: sequences of one to six
// bytes, none cut off by the end of the text.
bool isPlainText(const std::string& text);

// Leading number after blanks; "0x" / "-0x" hexadecimal, "0" / "-0" octal,
// else decimal. Raises settings::NotConvertibleError when no number can be
// read or it does not fit 32 bits.
int textToInt(const std::string& text);

// Leading decimal number; raises settings::NotConvertibleError when there
// is none or it is not finite.
double textToReal(const std::string& text);

// "yes"/"true" and "no"/"false" in any case; otherwise an integer that is
// true when non-zero.
bool textToBool(const std::string& text);

} // namespace settings_impl
